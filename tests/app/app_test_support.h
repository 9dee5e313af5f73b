// Helpers for the application's tests under Wine: temporary folders, files, message pumping.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }
    // The names of the entries in the folder, sorted.
    std::string Listing() const;

private:
    std::string path_;
};

void WriteFileBytes(const std::string& path, const std::string& bytes);
// The file's bytes; "<missing>" when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Dispatches messages until `done` holds or the time runs out; true if it held.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds = 5000);
// Dispatches whatever is waiting now.
void PumpPendingMessages();
