// Saving a file the operator names: the standard save dialog, and the
// bytes written whole. The name is kept as the system gives it (UTF-16)
// from the dialog to the file, so that a folder whose name code page 932
// cannot hold (café beside cafe, 𠮷田) is written exactly there.
#pragma once
#include <windows.h>

#include <string>

enum class SaveName { Chosen, Cancelled, TooLong };
// The standard save dialog: `title` as its caption, `defaultName` in the
// program's folder to start with, files of the extension `type` ("csv",
// "png"), asking before it replaces a file. TooLong: the name typed does not
// fit the dialog's buffer of MAX_PATH characters, the longest path a file is
// written at.
SaveName AskSaveFileName(HWND owner, const char* title, const std::string& defaultName, std::wstring* path,
                         const char* type = "csv");

// Writes the bytes to a temporary file beside `path` and puts it in place
// of `path` only once it is complete, so that a failure leaves any earlier
// file as it was and no temporary file behind. A read-only file is not
// replaced, as Windows refuses it. false with the system's reason in
// *reason on failure.
bool WriteFileWhole(const std::wstring& path, const std::string& bytes, std::string* reason);

// The system's text for an error code (code page 932).
std::string SystemReason(DWORD error);

// Code page 932 text as UTF-16, and back (a character it lacks as '?').
std::wstring WideFromCp932(const std::string& text);
std::string Cp932FromWide(const std::wstring& text);

// Today's date as YYYYMMDD, for default file names.
std::string TodayYmd();
