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
    static std::string Body(int topic) {
        const HelpPage *page = Book().Find(topic);
        return page ? page->body : std::string();
    }
};

TEST_F(HelpBookTest, BuildsWithoutMessages) {
    HelpBook book;
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_NE(book.Find(HelpBook::kContentsTopic), nullptr);
}

TEST_F(HelpBookTest, RangeRowPageShowsLabelKeyRegisterAndLimits) {
    // TX-10 row 6 "Horizontal Total" has topic 16, which the SXA camera
    // port's rows 8 and 11 share.
    const std::string body = Body(16);
    EXPECT_THAT(body, HasSubstr("Horizontal Total"));
    EXPECT_THAT(body, HasSubstr("<tt>HTotal</tt>"));
    EXPECT_THAT(body, HasSubstr("0..1023, step 1"));
    EXPECT_THAT(body, HasSubstr("RANGE"));
    EXPECT_THAT(body, HasSubstr(">TX-10</a>"));
    EXPECT_THAT(body, HasSubstr(">SXA camera port</a>"));
}

TEST_F(HelpBookTest, ChoiceRowPageShowsLabelsWithWordsAndValues) {
    // TX-10 row 12 "Hsync Polarity", topic 22: a bare choice.
    const std::string body = Body(22);
    EXPECT_THAT(body, HasSubstr("Hsync Polarity"));
    EXPECT_THAT(body, HasSubstr("(bare word)"));
    EXPECT_THAT(body, HasSubstr("Low &harr; <tt>HSync_Pol_Lo</tt> &harr; 0"));
    EXPECT_THAT(body, HasSubstr("High &harr; <tt>HSync_Pol_Hi</tt> &harr; 1"));
    EXPECT_THAT(body, Not(HasSubstr("0..")));
}

TEST_F(HelpBookTest, SharedTopicCarriesEveryRowThatUsesIt) {
    // Topic 60 is shared by eleven TX-10 PLL rows.
    const HelpPage *page = Book().Find(60);
    ASSERT_NE(page, nullptr);
    EXPECT_THAT(page->body, HasSubstr("VCO Select"));
    EXPECT_THAT(page->body, HasSubstr("Input Reference"));
    EXPECT_EQ(page->title, "Loop Filter and related settings");
}

TEST_F(HelpBookTest, ModelPageListsEveryRowAndKeysNoRowEdits) {
    const HelpPage *tx10 = Book().FindLink("model:TX-10");
    ASSERT_NE(tx10, nullptr);
    EXPECT_EQ(tx10->title, "TX-10 settings");
    EXPECT_THAT(tx10->body, HasSubstr("Board Revision"));
    EXPECT_THAT(tx10->body, HasSubstr("camera selector"));
    EXPECT_THAT(tx10->body, HasSubstr("cannot be changed"));  // the greyed revision row

    // A model built from its key table alone has no rows: its keys are listed.
    const HelpPage *rx10 = Book().FindLink("model:RX-10");
    ASSERT_NE(rx10, nullptr);
    EXPECT_THAT(rx10->body, HasSubstr("Keys without a row"));
}

TEST_F(HelpBookTest, TextsFromTheTablesAreEscaped) {
    EXPECT_EQ(EscapeHtml("a<b> & \"c\" 'd'"), "a&lt;b&gt; &amp; &quot;c&quot; &#39;d&#39;");
    const HelpPage *tx50 = Book().FindLink("model:TX-50");
    ASSERT_NE(tx50, nullptr);
    EXPECT_THAT(tx50->body, HasSubstr("HSync 0 &amp; 1 Output"));
    EXPECT_THAT(tx50->body, HasSubstr("CSync (LRate&gt;33KHz)"));
    EXPECT_THAT(tx50->body, Not(HasSubstr("LRate>33")));
}

TEST_F(HelpBookTest, UnknownTopicFallsBackToContentsWithANote) {
    EXPECT_EQ(Book().Find(99999), nullptr);
    const HelpPage page = Book().PageFor(99999);
    EXPECT_EQ(page.title, "Contents");
    EXPECT_THAT(page.body, HasSubstr("no help page for topic 99999"));
    EXPECT_THAT(Book().PageFor(16).body, Not(HasSubstr("no help page")));
}

// Every link on every page leads to a page.
TEST_F(HelpBookTest, EveryLinkResolves) {
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
