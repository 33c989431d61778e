#pragma once

#include "platform/text_codec.h"
#include "proxylist/proxy_list_observer.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace proxylist {

// A list of text lines mirrored in a file, with the single selection of the
// list box that shows it. Entries are kept exactly as they come.
class ProxyList {
public:
    ProxyList() = default;
    ProxyList(const ProxyList&) = delete;
    ProxyList& operator=(const ProxyList&) = delete;

    // Replaces the content with the file's lines and remembers the file's
    // encoding. Throws platform::FileError naming the file; the list is then
    // unchanged.
    void LoadFromFile(const std::string& path);
    // Every entry followed by CR LF, in the remembered encoding with its
    // byte-order mark. Throws platform::FileError naming the file; the
    // earlier file is then left as it was.
    void SaveToFile(const std::string& path) const;

    // Every line followed by CR LF.
    std::string Text() const;
    // Replaces the content with the lines of the text.
    void SetText(std::string_view text);

    // The first line equal to the entry regardless of letter case, or -1.
    int IndexOf(std::string_view entry) const;
    void Add(std::string entry);
    // An index that names no line removes nothing.
    void Delete(int index);
    void Clear();
    int Count() const;
    // Throws std::out_of_range when the index names no line.
    const std::string& Line(int index) const;

    // The selected line, or -1 for none.
    int ItemIndex() const { return itemIndex_; }
    // -1 clears the selection; an index below -1 or past the last line
    // changes nothing.
    void SetItemIndex(int index);
    std::optional<std::string> SelectedEntry() const;

    // The encoding the file was last loaded in; ANSI until then.
    platform::TextEncoding FileEncoding() const { return fileEncoding_; }

    // Observers hear of each change in the order they were added; each stays
    // until removed.
    void AddObserver(ProxyListObserver* observer);
    void RemoveObserver(ProxyListObserver* observer);

private:
    void ReplaceLines(std::vector<std::string> lines);
    template <typename Event> void Notify(const Event& event) const;
    void NotifySelection() const;

    std::vector<std::string> lines_;
    int itemIndex_ = -1;
    platform::TextEncoding fileEncoding_ = platform::TextEncoding::Ansi;
    std::vector<ProxyListObserver*> observers_;
};

} // namespace proxylist
