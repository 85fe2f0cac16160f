#include "app/SettingsFile.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "app/SettingsKeys.h"
#include "framework/DpiScale.h"

namespace {

// The running executable's path, or null when it cannot be had whole. One
// byte more than the path field, so that a path that fills the field exactly
// is still told from a truncated one.
const char* ExecutablePath() {
    static char modulePath[kSettingsPathSize + 1];
    DWORD n = GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    if (n == 0 || n >= sizeof modulePath) return nullptr;   // failed or truncated: no file
    modulePath[n] = '\0';
    return modulePath;
}

}  // namespace

SettingsFile::SettingsFile() : SettingsFile(kBesideExecutable, ExecutablePath()) {}

SettingsFile::SettingsFile(BesideExecutable, const char* executablePath) {
    if (!executablePath) return;
    FormIniPath(executablePath, filePath_, sizeof filePath_);
    // A path the profile functions cannot take would put the file in some
    // other folder: then there is no file at all.
    if (!FitsProfileFunctions(filePath_)) filePath_[0] = '\0';
}

SettingsFile::SettingsFile(const char* iniPath) {
    if (!iniPath) return;
    size_t length = std::strlen(iniPath);
    if (length == 0 || length >= sizeof filePath_ || !FitsProfileFunctions(iniPath)) return;
    // A bare file name would be taken from the Windows folder: refuse it.
    if (!std::strchr(iniPath, '\\') && !std::strchr(iniPath, '/')) return;
    std::memcpy(filePath_, iniPath, length + 1);
}

SettingsFile::~SettingsFile() {
    if (lock_) {
        ::ReleaseMutex(lock_);
        ::CloseHandle(lock_);
    }
}

bool SettingsFile::BeginWrites() {
    if (!filePath_[0]) return false;
    if (writing_) return true;   // already begun
    writing_ = true;
    // Another copy of the program writing the same file holds the lock for
    // the moment of its writes. The lock only keeps two writers from
    // interleaving: one that keeps it past the wait has hung or stopped,
    // and the settings are written without it rather than lost (an
    // abandoned lock is ours at once).
    HANDLE lock = ::CreateMutexA(nullptr, FALSE, SettingsLockName(filePath_).c_str());
    if (!lock) return true;
    const DWORD waited = ::WaitForSingleObject(lock, kSettingsLockWaitMs);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) lock_ = lock;
    else ::CloseHandle(lock);
    return true;
}

void SettingsFile::EndWrites() {
    if (!writing_) return;
    writing_ = false;
    // The system may keep profile writes in a cache: out to the file while
    // the lock is held, so the next writer reads them.
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, filePath_);
    if (!lock_) return;
    ::ReleaseMutex(lock_);
    ::CloseHandle(lock_);
    lock_ = nullptr;
}

std::string SettingsFile::FileName() const { return FileNameOfPath(filePath_); }

bool SettingsFile::Lookup(const char* key, int* defaultValue) {
    SettingsKey found;
    if (!LookupSettingsKey(key, &found)) return false;
    sectionIndex_ = found.SectionIndex;
    keyIndex_ = found.KeyIndex;
    if (defaultValue) *defaultValue = found.Default;
    return true;
}

// A default at 96 DPI is the default as the table gives it.
int SettingsFile::ReadInt(const char* key) { return ReadSize(key, kBaseDpi); }

int SettingsFile::ReadSize(const char* key, int dpi) {
    int defaultValue = 0;
    if (!Lookup(key, &defaultValue)) return -1;
    defaultValue = ScaleToDpi(defaultValue, dpi);
    // Without a path of our own the system would read a file of that name
    // from the Windows folder instead; give the default.
    if (!filePath_[0]) return defaultValue;
    // Read as text: the system would give 0 for a value that is no number
    // ("abc"), and a column of width 0 is a hidden one. Anything but a whole
    // number gives the default, as a missing key does.
    char text[kSettingsValueSize];
    GetPrivateProfileStringA(SettingsSectionNames[sectionIndex_], key, "", text, sizeof text, filePath_);
    int value = 0;
    return ParseStoredInt(text, &value) ? value : defaultValue;
}


int SettingsFile::WriteInt(const char* key, int value) {
    if (!Lookup(key, nullptr)) return -1;
    std::snprintf(valueBuffer_, sizeof valueBuffer_, "%d", value);
    if (!filePath_[0]) return -1;
    return WritePrivateProfileStringA(SettingsSectionNames[sectionIndex_], key, valueBuffer_, filePath_)
               ? 0
               : -1;
}

const char* SettingsFile::ReadString(const char* key) {
    std::memset(valueBuffer_, 0, sizeof valueBuffer_);
    if (!Lookup(key, nullptr)) return nullptr;
    if (!filePath_[0]) return valueBuffer_;
    GetPrivateProfileStringA(SettingsSectionNames[sectionIndex_], key, "", valueBuffer_,
                             sizeof valueBuffer_, filePath_);
    return valueBuffer_;
}

int SettingsFile::WriteString(const char* key, const char* text) {
    if (!Lookup(key, nullptr)) return -1;
    if (!text || !filePath_[0]) return -1;
    return WritePrivateProfileStringA(SettingsSectionNames[sectionIndex_], key, text, filePath_) ? 0
                                                                                                 : -1;
}
