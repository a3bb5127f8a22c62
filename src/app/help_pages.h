#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qvi {

// One page of the built-in help: the link other pages reach it by
// ("topic:16", "model:TX-10"), its title and its HTML body.
struct HelpPage {
    std::string link;
    std::string title;
    std::string body;
};

// The text with the characters HTML gives a meaning to written as entities.
std::string EscapeHtml(std::string_view text);

// The program's help, built once from the module models: the contents, the
// system window page, the general module page, one page per help topic that
// a module's rows use (listing each such row with its key, register, kind,
// limits and choices), and one page per module model with all its rows.
// Help requests name a topic number, as the Module Setup dialog, the value
// entry dialog and the system window ask for them.
class HelpBook {
public:
    static constexpr int kContentsTopic = 1;
    static constexpr int kModuleTopic = 13;
    static constexpr int kSystemWindowTopic = 131219;
    // The image window and the dialogs it opens.
    static constexpr int kImageWindowTopic = 131220;
    static constexpr int kTriggerDialogTopic = 131221;
    static constexpr int kDioDialogTopic = 131222;
    // The Help menu's acquisition self-test.
    static constexpr int kSelfTestTopic = 131223;

    HelpBook();

    // The page of a topic; null when no page has that topic.
    const HelpPage *Find(int topic) const;
    // The page a link of another page names; null when unknown.
    const HelpPage *FindLink(std::string_view link) const;
    // What a help request for the topic shows: its page, or for an unknown
    // topic the contents headed by a note that names the topic.
    HelpPage PageFor(int topic) const;

    // Every topic with a page, in increasing order.
    std::vector<int> Topics() const;
    const std::vector<HelpPage> &Pages() const { return pages_; }

    static std::string TopicLink(int topic);
    static std::string ModelLink(std::string_view model);

private:
    void Add(int topic, HelpPage page);

    std::vector<HelpPage> pages_;
    std::map<int, std::size_t> topics_;
};

// Which page the help window shows and the way back: a help request or a
// followed link opens a page on top of the ones before it; Back returns to
// the previous one. Links that lead nowhere change nothing.
class HelpNavigator {
public:
    explicit HelpNavigator(const HelpBook &book) : book_(book) {}

    // Opens the page of a help request (the contents with a note when unknown).
    const HelpPage &ShowTopic(int topic);
    // Follows a link; null, and nothing changes, when no page has it.
    const HelpPage *Follow(std::string_view link);
    // The previous page; null at the first one.
    const HelpPage *Back();
    bool CanGoBack() const { return history_.size() > 1; }
    // Null before anything is shown.
    const HelpPage *Current() const { return history_.empty() ? nullptr : &history_.back(); }

private:
    const HelpBook &book_;
    std::vector<HelpPage> history_;
};

}  // namespace qvi
