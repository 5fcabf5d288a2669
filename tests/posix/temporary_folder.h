#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// A fresh, empty folder of its own under the system's temporary folder, removed with everything
// in it when this goes out of scope.
class TemporaryFolder {
public:
    TemporaryFolder() : m_path(made()) {}
    ~TemporaryFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    static std::filesystem::path made()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "zelvatron-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
        return pattern;
    }

    std::filesystem::path m_path;
};

// A temporary folder that is the working directory while it lives; the one before comes back
// before the folder is removed.
class TemporaryWorkingFolder {
public:
    TemporaryWorkingFolder() { std::filesystem::current_path(m_folder.path()); }
    ~TemporaryWorkingFolder()
    {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
    }
    TemporaryWorkingFolder(const TemporaryWorkingFolder&) = delete;
    TemporaryWorkingFolder& operator=(const TemporaryWorkingFolder&) = delete;

    const std::filesystem::path& path() const { return m_folder.path(); }

private:
    std::filesystem::path m_previous = std::filesystem::current_path();
    TemporaryFolder m_folder;
};

// The names of everything in `folder`, hidden ones included, in byte order.
inline std::vector<std::string> entriesOf(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
