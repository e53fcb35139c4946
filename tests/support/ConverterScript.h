#pragma once
// What the recording converter of the tests does and what it saw. The window's run
// calls the converter on a thread of its own, so every access takes the lock.

#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace pelmora::test {

/// The behaviour and the record of the recording converter of one test.
class ConverterScript {
public:
    /// The text a save writes as the page unless SetPage() gave another.
    static constexpr const char* kDefaultPage = "<html><body><p>page</p></body></html>\n";

    /// Makes the factory fail, as a converter that is not installed.
    void SetFailStart(bool fail) { Store(failStart_, fail); }
    /// Makes the next count starts fail, as an office that cannot come up again.
    void FailNextStarts(int count) { Store(failNextStarts_, count); }
    /// Makes the call whose record begins with call (such as "Close" or "Quit") throw
    /// after it is recorded; empty: none.
    void SetRefuse(const std::string& call) { Store(refuse_, call); }
    /// Makes Open throw message; empty: it succeeds.
    void SetFailOpen(const std::string& message) { Store(failOpen_, message); }
    /// Makes a save write half a page and then throw message; empty: it succeeds.
    void SetFailSave(const std::string& message) { Store(failSave_, message); }
    /// Whether a save writes a page at all.
    void SetWritePage(bool write) { Store(writePage_, write); }
    /// The text a save writes as the page.
    void SetPage(const std::string& page) { Store(page_, page); }
    /// Non-empty: a save also writes a picture with this content into the page's
    /// ".files" folder.
    void SetPicture(const std::string& content) { Store(picture_, content); }
    /// Called (without the lock) at each Open, on the converter's thread.
    void SetOnOpen(std::function<void(const std::string& file)> onOpen) {
        Store(onOpen_, std::move(onOpen));
    }

    /// Every call in order: "DocumentTimeLimit=<n>ms" when a session is opened with a
    /// limit, "Open(<file>, [<password>])", "SaveAsPage(<name>)", "Close()", "Quit".
    std::vector<std::string> Calls() { return Copy(calls_); }
    /// How often call was made.
    long Count(const std::string& call);
    /// Forgets the calls made so far.
    void ClearCalls();
    /// The files opened, in order.
    std::vector<std::string> Opened() { return Copy(opened_); }
    /// The password of each Open, in order.
    std::vector<std::string> Passwords() { return Copy(passwords_); }
    /// The folder the last save wrote into.
    std::string Folder() { return Copy(folder_); }
    /// How many sessions the converter has started.
    int Started() { return Copy(started_); }

private:
    friend class RecordingSession;
    friend class RecordingDocument;
    friend class RecordingConverter;

    // Records call, then throws when it is the refused one. Holds the lock.
    void Record(const std::string& call);
    // One of the values above, read under the lock.
    template <typename T> T Copy(const T& field) {
        std::lock_guard lock(mutex_);
        return field;
    }
    // Sets one of the values above under the lock.
    template <typename T, typename V> void Store(T& field, V&& value) {
        std::lock_guard lock(mutex_);
        field = std::forward<V>(value);
    }

    std::mutex mutex_;
    bool failStart_ = false;
    int failNextStarts_ = 0;
    std::string refuse_;
    std::string failOpen_;
    std::string failSave_;
    bool writePage_ = true;
    std::string page_ = kDefaultPage;
    std::string picture_;
    std::function<void(const std::string&)> onOpen_;
    std::vector<std::string> calls_;
    std::vector<std::string> opened_;
    std::vector<std::string> passwords_;
    std::string folder_;
    int started_ = 0;
};

} // namespace pelmora::test
