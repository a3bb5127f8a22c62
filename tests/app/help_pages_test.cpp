// The built-in help: pages built from the module models, looked up by the
// topic numbers the modules give their rows.
#include "app/help_pages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/test_env.h"

namespace qvi {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class HelpBookTest : public testing::UiTest {
protected:
    static const HelpBook &Book() {
        static const HelpBook book;
        return book;
    }
};

// A row's page shows what the tables say of it, texts escaped; a model's page
// lists its rows, or the keys of a model built from its key table alone.
TEST_F(HelpBookTest, PagesShowTheirRowsFactsEscaped) {
    const struct {
        std::string link;
        std::string title;
        std::vector<std::string> shown;
        std::string absent;  // e.g. the unknown topic's note
    } cases[] = {
        // TX-10 row 6, "Horizontal Total", shares its topic with two SXA camera
        // port rows; the title names the labels of the rows that share it.
        {HelpBook::TopicLink(16),
         "Horizontal Total, Composite Sync Out",
         {"<tt>HTotal</tt>", "0..1023, step 1", "RANGE", ">TX-10</a>", ">SXA camera port</a>"},
         "no help page"},
        // TX-10 row 12, a choice written as a bare word.
        {HelpBook::TopicLink(22),
         "Hsync Polarity",
         {"(bare word)", "Low &harr; <tt>HSync_Pol_Lo</tt> &harr; 0",
          "High &harr; <tt>HSync_Pol_Hi</tt> &harr; 1"},
         "0.."},
        // Eleven TX-10 PLL rows share topic 60.
        {HelpBook::TopicLink(60),
         "Loop Filter and related settings",
         {"VCO Select", "Input Reference"},
         "no help page"},
        // The greyed revision row says it cannot be changed.
        {"model:TX-10",
         "TX-10 settings",
         {"Board Revision", "camera selector", "cannot be changed"},
         "Keys without a row"},
        {"model:RX-10", "RX-10 settings", {"Keys without a row"}, "no help page"},
        {"model:TX-50",
         "TX-50 settings",
         {"HSync 0 &amp; 1 Output", "CSync (LRate&gt;33KHz)"},
         "LRate>33"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.link);
        const HelpPage *page = Book().FindLink(c.link);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->title, c.title);
        for (const std::string &text : c.shown) EXPECT_THAT(page->body, HasSubstr(text));
        EXPECT_THAT(page->body, Not(HasSubstr(c.absent)));
    }
    EXPECT_EQ(EscapeHtml("a<b> & \"c\" 'd'"), "a&lt;b&gt; &amp; &quot;c&quot; &#39;d&#39;");
}

TEST_F(HelpBookTest, UnknownTopicFallsBackToContentsWithANote) {
    EXPECT_EQ(Book().Find(99999), nullptr);
    const HelpPage page = Book().PageFor(99999);
    EXPECT_EQ(page.title, "Contents");
    EXPECT_THAT(page.body, HasSubstr("no help page for topic 99999"));
    EXPECT_THAT(Book().PageFor(16).body, Not(HasSubstr("no help page")));
}

// The book builds quietly and every link on every page leads to a page.
TEST_F(HelpBookTest, EveryLinkResolves) {
    EXPECT_NE(HelpBook().Find(HelpBook::kContentsTopic), nullptr);
    EXPECT_TRUE(ui.messages.empty());  // the tables build without a complaint
    const std::regex href("href=\"([^\"]*)\"");
    int links = 0;
    for (const HelpPage &page : Book().Pages()) {
        for (auto it = std::sregex_iterator(page.body.begin(), page.body.end(), href);
             it != std::sregex_iterator(); ++it, ++links)
            EXPECT_NE(Book().FindLink((*it)[1].str()), nullptr)
                << page.link << " -> " << (*it)[1].str();
    }
    EXPECT_GT(links, 50);
}

TEST_F(HelpBookTest, NavigatorFollowsLinksAndGoesBack) {
    HelpNavigator navigator(Book());
    EXPECT_EQ(navigator.Current(), nullptr);
    EXPECT_EQ(navigator.Back(), nullptr);
    navigator.ShowTopic(HelpBook::kSystemWindowTopic);
    EXPECT_FALSE(navigator.CanGoBack());
    ASSERT_NE(navigator.Follow(HelpBook::TopicLink(HelpBook::kModuleTopic)), nullptr);
    EXPECT_EQ(navigator.Follow("topic:424242"), nullptr);  // a dead link stays put
    EXPECT_EQ(navigator.Current()->title, "Module Setup");
    ASSERT_NE(navigator.Back(), nullptr);
    EXPECT_EQ(navigator.Current()->title, "System window");
    EXPECT_FALSE(navigator.CanGoBack());
}

}  // namespace
}  // namespace qvi
