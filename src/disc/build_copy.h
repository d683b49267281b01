// Writing a planned disc: its folders and the site's files copied from the plan, with the
// progress a build shows, and the disc image written beside the copy from the plan's listing.
#pragma once
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "disc/builder.h"
#include "disc/folder_image.h"

namespace vk {

// The progress of writing the disc: the counts of the plan, and each file's bytes as they go.
class CopyTracker : public CopyWatch {
public:
    CopyTracker(BuildHost& host, const DiscPlan& plan);
    // Before each file; false when the user has cancelled.
    bool Start(const std::string& shown);
    bool Copied(unsigned long long bytes) override;
    // After a file written whole.
    void Done(unsigned long long size, bool page);
    void Finish() { m_host.Progress(m_progress); }

private:
    BuildHost& m_host;
    BuildProgress m_progress;
    unsigned long long m_base = 0;
};

// The site's files under the names their copies get: each folder spelled as it was first met,
// as a disc read by Windows holds one folder for every spelling.
struct NamesOnDisc {
    explicit NamesOnDisc(const DiscPlan& plan);
    std::vector<std::string> files;   // of plan.files from plan.linked on, "\" between steps
    std::vector<std::string> folders; // each above the ones inside it
};

// The disc as planned, for an image written while the site's files are copied: the folder as
// it stands when the image starts (the files written so far, every folder made), the rest from
// the plan, each of them ready once its copy is whole.
class PlannedListing : public ImageListing {
public:
    PlannedListing(FileAccess& files, const std::string& staging, const DiscPlan& plan, const NamesOnDisc& names);
    bool List(const std::string& folder, std::vector<DiscItem>& items, std::string& error) override;
    State FileState(const std::string& file) override;
    // From the build's thread: the copy of the site's file k is whole, or will never be.
    void Copied(size_t k, bool whole) { m_states[k] = whole ? 1 : 2; }
    // The file the image waits for, if any: the copy takes it next.
    size_t Wanted() const { return m_wanted; }
    // Every file not yet whole never will be.
    void Stop() { m_stopped = true; }
    bool Incomplete() const { return m_incomplete; }

private:
    std::map<std::string, std::vector<DiscItem>> m_folders;
    std::unordered_map<std::string, size_t> m_index; // image path of each of the site's files
    std::unique_ptr<std::atomic<unsigned char>[]> m_states;
    std::atomic<bool> m_stopped{false};
    std::atomic<bool> m_incomplete{false};
    std::atomic<size_t> m_wanted{SIZE_MAX};
    std::string m_error;
};

// Makes the folders of the site's files in building; false, told, on a failure.
bool MakeFolders(BuildHost& host, const NamesOnDisc& names, const std::string& building, const std::string& out);

// Copies the site's files into building under their names. A file that went away or became
// unreadable since the plan is listed as missing; any other failure (a full disk) is told and
// ends the copy, as does the user's cancel (not told). listing, when given, hears of each file,
// and the file its image waits for is copied next.
bool CopyLinked(BuildHost& host, DiscPlan& plan, const NamesOnDisc& names, const std::string& building,
                const std::string& out, CopyTracker& tracker, PlannedListing* listing);

// The disc image written on a thread of its own: its progress kept for the build's thread to
// show, and stopped when the build asks.
class ImageBeside : public BuildWork, public ImageProgress {
public:
    ImageBeside(BuildHost& host, const std::string& folder, const std::string& file, const std::string& shown,
                const std::string& label, PlannedListing& listing)
        : m_host(host), m_folder(folder), m_file(file), m_shown(shown), m_label(label), m_listing(listing) {}
    void Run() override {
        m_written = m_host.WriteImage(m_folder, m_file, m_shown, m_label, *this, &m_listing, m_error);
    }
    bool Advance(unsigned long long done, unsigned long long total) override {
        m_done = done;
        m_total = total;
        return !m_stop;
    }
    void Stop() {
        m_stop = true;
        m_listing.Stop();
    }
    unsigned long long Done() const { return m_done; }
    unsigned long long Total() const { return m_total; }
    // Once the work has ended.
    bool Written() const { return m_written; }
    const std::string& Error() const { return m_error; }

private:
    BuildHost& m_host;
    std::string m_folder, m_file, m_shown, m_label;
    PlannedListing& m_listing;
    std::atomic<unsigned long long> m_done{0}, m_total{0};
    std::atomic<bool> m_stop{false};
    bool m_written = false;
    std::string m_error;
};

} // namespace vk
