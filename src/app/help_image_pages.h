#pragma once

#include <string>
#include <vector>

namespace qvi {

struct HelpPage;

// The help pages of the image window, of its two tools, the Triggered
// Acquisition and the Digital I/O Test dialogs, and of the acquisition
// self-test, each with its topic number.
struct TopicPage {
    int topic;
    std::string title;
    std::string body;
};
std::vector<TopicPage> ImageWindowHelpPages(const std::string &contentsLink);

}  // namespace qvi
