// The INI file that keeps the main window's placement and the list's column
// widths between runs: beside the executable, named after it, ".ini".
// Keys go to the file under the caller's name ("TOP", "COLUMN3"); the key
// table (SettingsKeys.h) only gives the section and the default.
#pragma once
#include "framework/Framework.h"

// Room for any path the system can hand out (32767 UTF-16 units; the code
// page 932 form of a long path may take two bytes for some of them).
constexpr int kSettingsPathSize = 65536;
constexpr int kSettingsValueSize = 128;
// How long closing waits for another copy of the program to finish writing.
constexpr unsigned long kSettingsLockWaitMs = 5000;

class SettingsFile : public SettingsStore {
public:
    // The INI file beside the running executable. When the executable's path
    // cannot be had whole, the object has no file: reads give the defaults
    // and writes fail, and nothing is written anywhere else.
    SettingsFile();
    // The same for an executable at the path given (null: none), as the
    // constructor above does it with the running one's.
    struct BesideExecutable {};
    static constexpr BesideExecutable kBesideExecutable{};
    SettingsFile(BesideExecutable, const char* executablePath);
    // An explicit INI path (used by tests). A null, empty or over-long path,
    // or a bare file name without a folder (the system would look for it in
    // the Windows folder), leaves the object without a file, as above.
    explicit SettingsFile(const char* iniPath);
    ~SettingsFile() override;

    // The stored integer, or the key's default when the file or the key is
    // missing or the stored text is not a whole number; -1 for a key name not in the table (the file is not touched).
    int ReadInt(const char* key) override;
    // A size in pixels (the window's width and height, a column's width):
    // the stored value as the user left it, or else the key's default, which
    // the table gives for 96 DPI, scaled to dpi. -1 for a key not in the table.
    int ReadSize(const char* key, int dpi) override;
    // Stores the value as decimal text. 0 when written, -1 when the key is
    // not in the table, there is no file, or the write failed.
    int WriteInt(const char* key, int value) override;
    // The stored text (empty when missing) in the object's value buffer,
    // valid until the next call; null for a key not in the table.
    const char* ReadString(const char* key);
    // As WriteInt; a null text is refused with -1 (the system would take it
    // as "delete the key").
    int WriteString(const char* key, const char* text);

    // The writes between these go to the file as one unit: other programs
    // writing the same file (another copy of this one) wait meanwhile, and
    // their writes come wholly before or after. One that keeps the file
    // locked past kSettingsLockWaitMs has stopped: the writes go ahead
    // without the lock. BeginWrites is false only when there is no file.
    bool BeginWrites() override;
    void EndWrites() override;

    // The INI path in use, "" when there is none, and its file name.
    const char* Path() const { return filePath_; }
    std::string FileName() const override;

private:
    bool Lookup(const char* key, int* defaultValue);

    int sectionIndex_ = 0;
    int keyIndex_ = 0;
    char valueBuffer_[kSettingsValueSize] = {};
    char filePath_[kSettingsPathSize] = {};
    bool writing_ = false;    // between BeginWrites and EndWrites
    HANDLE lock_ = nullptr;   // held between them, when it was had
};
