#pragma once
// Real files in a throwaway folder, removed with everything in it at the end of a test.
#include <optional>
#include <string>
#include <vector>

namespace tv::test {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // The folder's path, without a trailing separator.
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::string ReadFileBytes(const std::wstring& path);
// Names of the entries of a folder.
std::vector<std::wstring> ListFolder(const std::wstring& folder);
// The game's registry value in the 32-bit view, where the program reads it; none deletes it.
void SetGameFolder(const std::optional<std::wstring>& folder, unsigned long type = 1); // REG_SZ
// A wide text as UTF-8, for messages and stored paths.
std::string Utf8(const std::wstring& text);

} // namespace tv::test
