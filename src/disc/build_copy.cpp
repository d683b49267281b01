#include "disc/build_copy.h"

#include "core/ascii_case.h"

namespace vk {
namespace {

std::string ImagePath(std::string name) {
    for (char& c : name)
        if (c == '\\')
            c = '/';
    return name;
}

std::string ParentOfImagePath(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LeafOfImagePath(const std::string& path) { return path.substr(path.rfind('/') + 1); }

} // namespace

CopyTracker::CopyTracker(BuildHost& host, const DiscPlan& plan) : m_host(host) {
    m_progress.stage = BuildStage::Copying;
    m_progress.pagesTotal = plan.pages;
    m_progress.filesTotal = plan.files.size();
    m_progress.bytesTotal = plan.bytes;
}

bool CopyTracker::Start(const std::string& shown) {
    m_progress.item = shown;
    m_base = m_progress.bytes;
    m_host.Progress(m_progress);
    return !m_host.Cancelled();
}

bool CopyTracker::Copied(unsigned long long bytes) {
    m_progress.bytes = m_base + bytes;
    m_host.Progress(m_progress);
    return !m_host.Cancelled();
}

void CopyTracker::Done(unsigned long long size, bool page) {
    m_progress.bytes = m_base + size;
    ++m_progress.files;
    m_progress.pages += page;
}

NamesOnDisc::NamesOnDisc(const DiscPlan& plan) {
    // Folders by their path in lower case, under the spelling first met.
    std::unordered_map<std::string, std::string> spelled;
    for (size_t i = plan.linked; i < plan.files.size(); ++i) {
        const std::string& name = plan.files[i].name;
        const size_t last = name.rfind('\\');
        if (last == std::string::npos) {
            files.push_back(name);
            continue;
        }
        std::string folder;
        size_t begin = 0;
        for (size_t end = name.find('\\'); end <= last; begin = end + 1, end = name.find('\\', begin)) {
            const auto there = spelled.emplace(Lower(name.substr(0, end)), std::string());
            if (there.second) {
                there.first->second = (begin ? folder + "\\" : std::string()) + name.substr(begin, end - begin);
                folders.push_back(there.first->second);
            }
            folder = there.first->second;
        }
        files.push_back(folder + name.substr(last));
    }
}

PlannedListing::PlannedListing(FileAccess& files, const std::string& staging, const DiscPlan& plan,
                               const NamesOnDisc& names)
    : m_states(std::make_unique<std::atomic<unsigned char>[]>(names.files.size())) {
    std::vector<FolderEntry> root;
    if (!files.List(staging, root, m_error))
        m_error = staging + ": " + m_error + ".";
    std::vector<DiscItem>& top = m_folders[""];
    for (const FolderEntry& entry : root)
        top.push_back({entry.name, entry.kind == PathKind::Folder, entry.size, entry.modified});
    for (const std::string& folder : names.folders) {
        const std::string path = ImagePath(folder);
        m_folders[path];
        const std::string parent = ParentOfImagePath(path);
        FolderEntry made;
        if (!parent.empty() && files.Details(staging + "\\" + folder, made))
            m_folders[parent].push_back({LeafOfImagePath(path), true, 0, made.modified});
    }
    for (size_t k = 0; k < names.files.size(); ++k) {
        const PlannedFile& file = plan.files[plan.linked + k];
        const std::string path = ImagePath(names.files[k]);
        m_folders[ParentOfImagePath(path)].push_back({LeafOfImagePath(path), false, file.size, file.modified});
        m_index.emplace(path, k);
    }
}

bool PlannedListing::List(const std::string& folder, std::vector<DiscItem>& items, std::string& error) {
    const auto there = m_folders.find(folder);
    if (!m_error.empty() || there == m_folders.end()) {
        error = m_error.empty() ? folder + ": not a folder of the disc." : m_error;
        return false;
    }
    items = there->second;
    return true;
}

ImageListing::State PlannedListing::FileState(const std::string& file) {
    const auto there = m_index.find(file);
    if (there == m_index.end())
        return State::Ready; // written before the image started
    switch (m_states[there->second].load()) {
    case 1:
        return State::Ready;
    case 2:
        m_incomplete = true;
        return State::Never;
    default:
        if (m_stopped)
            return State::Never;
        m_wanted = there->second;
        return State::Waiting;
    }
}

bool MakeFolders(BuildHost& host, const NamesOnDisc& names, const std::string& building, const std::string& out) {
    std::string error;
    for (const std::string& folder : names.folders)
        if (!host.Access().MakeFolder(building + folder, error)) {
            host.Tell(WriteFailureMessage(out + folder));
            return false;
        }
    return true;
}

bool CopyLinked(BuildHost& host, DiscPlan& plan, const NamesOnDisc& names, const std::string& building,
                const std::string& out, CopyTracker& tracker, PlannedListing* listing) {
    FileAccess& fs = host.Access();
    std::string error;
    std::vector<char> taken(names.files.size());
    for (size_t count = 0, next = 0; count < names.files.size(); ++count) {
        size_t k = listing ? listing->Wanted() : SIZE_MAX;
        if (k >= taken.size() || taken[k]) {
            while (taken[next])
                ++next;
            k = next;
        }
        taken[k] = 1;
        const PlannedFile& file = plan.files[plan.linked + k];
        if (!tracker.Start(file.source))
            return false;
        if (fs.CopyWatched(file.source, building + names.files[k], tracker, error)) {
            tracker.Done(file.size, file.page);
            if (listing)
                listing->Copied(k, true);
            continue;
        }
        if (host.Cancelled())
            return false;
        if (!fs.Open(file.source)) {
            const bool gone = fs.Kind(file.source) == PathKind::None;
            plan.missing.Add(file.source, gone ? MissingReason::Absent : MissingReason::CopyFailed,
                             gone ? std::string() : error);
            if (listing)
                listing->Copied(k, false);
            continue;
        }
        host.Tell(ScanCopyFailureMessage(file.source, out + names.files[k], error));
        return false;
    }
    tracker.Finish();
    return true;
}

} // namespace vk
