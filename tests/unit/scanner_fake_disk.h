// An in-memory disk with Windows' name rules (letter case and slash direction do not matter)
// for the scanner and builder tests. Relative names resolve against a working folder.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "disc/scanner.h"
#include "memory_files.h"
#include "missing_print.h"

class FakeDisk : public vk::ScanFiles, public vk::ScanProgress {
public:
    vk::Windows1252 ansi; // the code page of undeclared pages, as on the Wine prefix
    std::string workingFolder = "C:\\work";
    std::vector<std::string> pagesRead; // as handed to PageStarting
    std::vector<std::vector<vk::MissingFile>> shownMissing;
    std::vector<std::string> copiedTo;    // destinations of every copy attempt
    std::vector<std::string> madeFolders; // every folder creation asked for
    std::map<std::string, int> opened;    // how often each file was opened to be read, by full path

    // Creates the folder and those above it.
    void AddFolder(const std::string& path) {
        const std::string full = Full(path);
        m_folders.insert(Key(full));
        for (size_t slash = full.find('\\'); slash != std::string::npos; slash = full.find('\\', slash + 1))
            m_folders.insert(Key(full.substr(0, slash)));
    }
    // Creates the file and its folders.
    void Put(const std::string& path, const std::string& content = "x") {
        const std::string full = Full(path);
        m_files[Key(full)] = {full, content};
        AddFolder(full.substr(0, full.rfind('\\')));
    }
    void Unreadable(const std::string& path) { m_unreadable.insert(Key(Full(path))); }
    // Makes alias a link to the folder target, as a symbolic link or a junction does.
    void Link(const std::string& alias, const std::string& target) { m_links[Key(Full(alias))] = Full(target); }
    bool Has(const std::string& path) const { return m_files.count(Key(Full(path))) > 0; }
    std::string Content(const std::string& path) const {
        auto it = m_files.find(Key(Full(path)));
        return it == m_files.end() ? std::string("<none>") : it->second.content;
    }
    void Remove(const std::string& path) { m_files.erase(Key(Full(path))); }
    // Removes an empty folder; false when something is still inside.
    bool RemoveFolder(const std::string& path) {
        const std::string key = Key(Full(path)), prefix = key + "\\";
        for (const auto& entry : m_files)
            if (entry.first.compare(0, prefix.size(), prefix) == 0)
                return false;
        for (const std::string& folder : m_folders)
            if (folder.compare(0, prefix.size(), prefix) == 0)
                return false;
        return m_folders.erase(key) > 0;
    }
    // Names of the files directly inside a folder, as they were written.
    std::set<std::string> FilesIn(const std::string& folder) const {
        std::set<std::string> names;
        const std::string prefix = Key(Full(folder)) + "\\";
        for (const auto& [key, file] : m_files)
            if (key.compare(0, prefix.size(), prefix) == 0 && key.find('\\', prefix.size()) == std::string::npos)
                names.insert(file.name.substr(prefix.size()));
        return names;
    }
    bool FolderExists(const std::string& path) const { return m_folders.count(Key(Full(path))) > 0; }
    // The names directly inside a folder, files and folders.
    void Entries(const std::string& folder, std::vector<std::string>& files, std::vector<std::string>& folders) const {
        const std::string prefix = Key(Full(folder)) + "\\";
        for (const auto& [key, file] : m_files)
            if (key.compare(0, prefix.size(), prefix) == 0 && key.find('\\', prefix.size()) == std::string::npos)
                files.push_back(file.name.substr(prefix.size()));
        for (const std::string& key : m_folders)
            if (key.compare(0, prefix.size(), prefix) == 0 && key.find('\\', prefix.size()) == std::string::npos)
                folders.push_back(key.substr(prefix.size()));
    }
    // Moves a file or a folder with everything below it.
    void Move(const std::string& from, const std::string& to) {
        const std::string source = Key(Full(from)), dest = Full(to);
        std::map<std::string, File> files;
        for (auto it = m_files.begin(); it != m_files.end();) {
            if (it->first == source || it->first.compare(0, source.size() + 1, source + "\\") == 0) {
                const std::string name = dest + it->second.name.substr(source.size());
                files[Key(name)] = {name, it->second.content};
                it = m_files.erase(it);
            } else {
                ++it;
            }
        }
        std::set<std::string> folders;
        for (auto it = m_folders.begin(); it != m_folders.end();) {
            if (*it == source || it->compare(0, source.size() + 1, source + "\\") == 0) {
                folders.insert(Key(dest) + it->substr(source.size()));
                it = m_folders.erase(it);
            } else {
                ++it;
            }
        }
        m_files.insert(files.begin(), files.end());
        m_folders.insert(folders.begin(), folders.end());
    }
    std::set<std::string> AllFiles() const {
        std::set<std::string> names;
        for (const auto& entry : m_files)
            names.insert(entry.second.name);
        return names;
    }

    bool Exists(const std::string& name) override {
        const std::string key = Key(Full(name));
        return m_files.count(key) || m_folders.count(key);
    }
    std::unique_ptr<vk::ByteSource> Open(const std::string& name) override {
        const std::string key = Key(Full(name));
        auto it = m_files.find(key);
        if (it == m_files.end() || m_unreadable.count(key))
            return nullptr;
        ++opened[it->second.name];
        return std::make_unique<StringSource>(it->second.content, 1000);
    }
    bool Copy(const std::string& from, const std::string& to) override {
        copiedTo.push_back(to);
        const std::string source = Key(Full(from)), dest = Full(to);
        auto it = m_files.find(source);
        if (it == m_files.end() || m_unreadable.count(source) || !m_folders.count(Key(Parent(dest))))
            return false;
        m_files[Key(dest)] = {dest, it->second.content};
        return true;
    }
    bool MakeFolder(const std::string& path) override {
        const std::string full = Full(path);
        madeFolders.push_back(full);
        if (!m_folders.count(Key(Parent(full))) || m_files.count(Key(full)))
            return false;
        m_folders.insert(Key(full));
        return true;
    }
    void PageStarting(const std::string& pagePath) override { pagesRead.push_back(pagePath); }
    void ShowMissing(const std::vector<vk::MissingFile>& missing) override { shownMissing.push_back(missing); }
    // One file or folder by any path that leads to it; a name that is not there tells nothing.
    bool SameFile(const std::string& a, const std::string& b) override {
        return !Exists(a) || !Exists(b) || Key(Full(a)) == Key(Full(b));
    }

    std::string Full(const std::string& path) const {
        std::string p = path;
        for (char& c : p)
            if (c == '/')
                c = '\\';
        if (!(p.size() > 1 && p[1] == ':') && !(p.size() > 0 && p[0] == '\\'))
            p = workingFolder + "\\" + p;
        // Windows folds ".." steps and doubled separators away.
        std::vector<std::string> steps;
        size_t start = 0;
        while (start <= p.size()) {
            size_t end = p.find('\\', start);
            if (end == std::string::npos)
                end = p.size();
            std::string step = p.substr(start, end - start);
            if (step == "..") {
                if (steps.size() > 1)
                    steps.pop_back();
            } else if (!step.empty() && step != ".") {
                steps.push_back(step);
            }
            start = end + 1;
        }
        std::string out;
        for (const std::string& step : steps)
            out += (out.empty() ? "" : "\\") + step;
        // A path through a folder link goes on where the link points, as often as it passes one.
        for (auto link = m_links.begin(); link != m_links.end();) {
            const std::string key = Key(out);
            if (key == link->first || key.compare(0, link->first.size() + 1, link->first + "\\") == 0) {
                out = link->second + out.substr(link->first.size());
                link = m_links.begin();
            } else {
                ++link;
            }
        }
        return out;
    }

private:
    struct File {
        std::string name;
        std::string content;
    };
    static std::string Key(std::string path) {
        for (char& c : path)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        return path;
    }
    static std::string Parent(const std::string& path) {
        size_t slash = path.rfind('\\');
        return slash == std::string::npos ? std::string() : path.substr(0, slash);
    }

    std::map<std::string, File> m_files;
    std::set<std::string> m_folders;
    std::set<std::string> m_unreadable;
    std::map<std::string, std::string> m_links; // by the link's key, to the full path it leads to
};
