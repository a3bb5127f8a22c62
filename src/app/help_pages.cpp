// The built-in help pages, the parameter pages generated from each model's tables.
#include "app/help_pages.h"

#include <algorithm>
#include <memory>
#include <set>

#include "app/help_image_pages.h"
#include "keys/key_table.h"
#include "keys/model_names.h"
#include "modules/model_registry.h"
#include "params/camera_list.h"
#include "params/mod.h"
#include "params/mod_param.h"
#include "system/plat_mod.h"

namespace qvi {

namespace {

struct ChoiceFacts {
    std::string label;
    std::string word;
    std::string value;
};

// What the help says about one row of a Module Setup dialog, or about a key
// no row edits.
struct RowFacts {
    std::string model;
    std::string modelLink;
    int topic = HelpBook::kModuleTopic;
    std::string label;
    std::string key;
    std::string reg;
    std::string kind;
    std::string limits;
    std::string note;
    std::vector<ChoiceFacts> choices;
};

struct ModelFacts {
    std::string name;
    std::string link;
    std::vector<RowFacts> rows;
    std::vector<RowFacts> unlabelled;  // keys that no row edits
};

// The name a model goes by in the help: the section name it is written
// under, with the library's model name where the two differ.
std::string DisplayName(const keys::ModelTable &table) {
    if (table.model == keys::kSxaChannelModel) return "SXA camera port";
    std::string name(table.section);
    if (table.section != table.model) name += " (" + std::string(table.model) + ")";
    return name;
}

void DescribeParam(const QV_mod_param &param, RowFacts &facts) {
    facts.key = param.GetName().empty() ? "(bare word)" : param.GetName();
    facts.reg = param.GetRegister() < 0 ? "none" : std::to_string(param.GetRegister());
    facts.kind = param.GetType();
}

// The choices of a drop-down row beside the words and values of the key it
// edits; a row whose labels outnumber the words (a port selector) shows the
// labels alone.
std::vector<ChoiceFacts> ChoicesOf(const QV_usr_param &row) {
    const auto *choiceParam = dynamic_cast<const QV_choice_param *>(row.GetParam());
    std::vector<ChoiceFacts> choices;
    const std::vector<std::string> labels = row.GetChoices();
    for (std::size_t i = 0; i < labels.size(); ++i) {
        ChoiceFacts choice{labels[i], "", ""};
        const int index = static_cast<int>(i);
        if (choiceParam && index < choiceParam->GetChoiceCount()) {
            choice.word = choiceParam->GetChoiceName(index);
            choice.value = choiceParam->GetChoiceValue(index).ToString();
        }
        choices.push_back(std::move(choice));
    }
    return choices;
}

RowFacts DescribeRow(QV_mod &module, const QV_usr_param &row) {
    RowFacts facts;
    facts.label = row.GetLabel();
    facts.topic = module.GetHelpTopic(row.GetId());
    if (row.GetParam()) DescribeParam(*row.GetParam(), facts);
    if (const auto *camera = dynamic_cast<const QV_camera_usr_param *>(&row)) {
        facts.kind = "camera selector";
        facts.note = "Lists the cameras of the camera database that suit the " +
                     camera->ModuleKey() + " module on port " + std::to_string(camera->Port()) +
                     "; choosing one applies its settings to the port.";
        return facts;
    }
    if (row.GetControlKind() == ControlKind::Number) {
        facts.limits = row.GetMin().ToString() + ".." + row.GetMax().ToString() + ", step " +
                       row.GetStep().ToString();
    } else if (row.GetControlKind() == ControlKind::DropDown) {
        facts.choices = ChoicesOf(row);
    }
    if (!row.IsEnabled()) facts.note = "Shown for information; it cannot be changed.";
    return facts;
}

// Builds the model's container on a platform object without a library, so
// that its rows can be read as the Module Setup dialog would show them.
ModelFacts DescribeModel(const keys::ModelTable &table) {
    ModelFacts model{DisplayName(table), HelpBook::ModelLink(table.model), {}, {}};
    const std::string name(table.model);
    std::unique_ptr<QV_plat_mod> platform =
        MakePlatform(PlatformNameOf(name), nullptr, 0, NoModuleSettings());
    if (!platform) return model;
    std::unique_ptr<QV_mod> module = MakeContainer(name, *platform, NoModuleSettings());
    std::set<int> edited;
    for (const auto &row : module->GetUsrParams()) {
        RowFacts facts = DescribeRow(*module, *row);
        facts.model = model.name;
        facts.modelLink = model.link;
        if (row->GetParam()) edited.insert(row->GetParam()->GetHandle());
        model.rows.push_back(std::move(facts));
    }
    for (const auto &param : module->GetModParams()) {
        if (edited.contains(param->GetHandle())) continue;
        RowFacts facts;
        DescribeParam(*param, facts);
        if (const auto *choice = dynamic_cast<const QV_choice_param *>(param.get()))
            for (int i = 0; i < choice->GetChoiceCount(); ++i)
                facts.choices.push_back(
                    {"", choice->GetChoiceName(i), choice->GetChoiceValue(i).ToString()});
        model.unlabelled.push_back(std::move(facts));
    }
    return model;
}

std::string Link(const std::string &target, std::string_view text) {
    return "<a href=\"" + EscapeHtml(target) + "\">" + EscapeHtml(text) + "</a>";
}

std::string ChoiceList(const std::vector<ChoiceFacts> &choices) {
    if (choices.empty()) return {};
    std::string html = "<ul>";
    for (const ChoiceFacts &choice : choices) {
        html += "<li>";
        if (!choice.label.empty()) html += EscapeHtml(choice.label);
        if (!choice.word.empty()) {
            if (!choice.label.empty()) html += " &harr; ";
            html += "<tt>" + EscapeHtml(choice.word) + "</tt>";
        }
        if (!choice.value.empty()) html += " &harr; " + EscapeHtml(choice.value);
        html += "</li>";
    }
    return html + "</ul>";
}

// One definition list entry per row: what the user sees first, then what is
// written and where it goes.
std::string RowEntry(const RowFacts &row, bool withModel) {
    std::string html = "<h3>" + EscapeHtml(row.label.empty() ? row.key : row.label) + "</h3>";
    html += "<table border=\"0\" cellpadding=\"2\">";
    auto line = [&html](std::string_view name, const std::string &value) {
        if (!value.empty())
            html += "<tr><td><b>" + std::string(name) + "</b></td><td>" + value + "</td></tr>";
    };
    if (withModel) line("Module", Link(row.modelLink, row.model));
    line("Key", row.key.empty() ? "" : "<tt>" + EscapeHtml(row.key) + "</tt>");
    line("Register", EscapeHtml(row.reg));
    line("Kind", EscapeHtml(row.kind));
    line("Limits", EscapeHtml(row.limits));
    html += "</table>";
    if (!row.note.empty()) html += "<p>" + EscapeHtml(row.note) + "</p>";
    if (!row.choices.empty()) html += "<p>Choices (label &harr; word &harr; value):</p>";
    return html + ChoiceList(row.choices);
}

std::string Title(std::string_view text) {
    return "<h1>" + EscapeHtml(text) + "</h1>";
}

// A topic page is titled after the rows that use it.
std::string TopicTitle(const std::vector<const RowFacts *> &rows) {
    std::vector<std::string> labels;
    for (const RowFacts *row : rows)
        if (std::find(labels.begin(), labels.end(), row->label) == labels.end())
            labels.push_back(row->label);
    if (labels.size() == 1) return labels.front();
    if (labels.size() <= 3) {
        std::string title = labels.front();
        for (std::size_t i = 1; i < labels.size(); ++i) title += ", " + labels[i];
        return title;
    }
    return labels.front() + " and related settings";
}

std::string ModelList(const std::vector<ModelFacts> &models) {
    std::string html = "<ul>";
    for (const ModelFacts &model : models) html += "<li>" + Link(model.link, model.name) + "</li>";
    return html + "</ul>";
}

std::string ContentsBody(const std::vector<ModelFacts> &models, const std::vector<int> &topics,
                         const std::map<int, std::string> &topicTitles) {
    std::string html = Title("QVI Configurator Help");
    html +=
        "<p>The configurator edits the configuration of a frame-grabber system: the boards in "
        "their PCI slots, the modules in the boards' slots and every setting of every module. "
        "Each change goes to the hardware at once; without hardware the configuration can still "
        "be edited and saved.</p>"
        "<h2>Main window</h2>"
        "<p>The main window holds the system window, one image window per acquisition board, "
        "the open Module Setup dialogs and the Camera Database dialog. The board selector on the "
        "tool bar chooses the active board; it is disabled when hardware is disabled. The "
        "acquisition commands (Grab, Snap, Clear, Triggered Snap, Load TIFF file) act on the "
        "active board.</p>"
        "<p>See " +
        Link(HelpBook::TopicLink(HelpBook::kImageWindowTopic), "Image window") + ", " +
        Link(HelpBook::TopicLink(HelpBook::kTriggerDialogTopic), "Triggered Acquisition") + ", " +
        Link(HelpBook::TopicLink(HelpBook::kDioDialogTopic), "Digital I/O Test") + " and " +
        Link(HelpBook::TopicLink(HelpBook::kSelfTestTopic), "Acquisition Self-Test") +
        ".</p>"
        "<h2>System window</h2>"
        "<p>The system window lists the systems, boards, slots and modules of the open "
        "configuration. See " +
        Link(HelpBook::TopicLink(HelpBook::kSystemWindowTopic), "System window") +
        ".</p>"
        "<h2>Module Setup</h2>"
        "<p>Double-click an element of the system window to edit its settings. See " +
        Link(HelpBook::TopicLink(HelpBook::kModuleTopic), "Module Setup") +
        ".</p>"
        "<h2>Value entry</h2>"
        "<p>A click into a number field of the Module Setup dialog opens the value entry "
        "dialog. Type the value or move the scroll bar between the minimum and the maximum; "
        "Apply stores the value and keeps the dialog open, OK stores it and closes the dialog. "
        "A value outside the limits is refused with a message and the field shows the current "
        "value again.</p>"
        "<h2>Camera database</h2>"
        "<p>Camera Database... lists the known cameras. Each camera has a name, a configuration "
        "file with its timing, the acquisition module model and camera ports it suits, a cable "
        "part number and comments. Choosing a camera in a module's camera selector copies its "
        "settings into that port.</p>"
        "<h2>File commands</h2>"
        "<p>New builds a configuration from the boards present (or a default one without "
        "hardware); Open reads a text (.txt) or binary (.cnf) configuration; Save and Save As "
        "write the text configuration and have its binary twin made by the converter; View "
        "Config File shows the text configuration; Hardware Disabled switches the use of the "
        "hardware off and on. When the configuration has changed you are asked whether to save "
        "it before it is closed.</p>"
        "<h2>Module models</h2>" +
        ModelList(models) + "<h2>Setting topics</h2><ul>";
    for (int topic : topics)
        html += "<li>" + Link(HelpBook::TopicLink(topic), topicTitles.at(topic)) + "</li>";
    return html + "</ul>";
}

std::string SystemWindowBody() {
    return Title("System window") +
           "<p>The system window lists the open configuration: one line per system, board, "
           "slot and module. With hardware it lists every element and marks the line of the "
           "active board with <tt>*</tt>; selecting an acquisition board makes it the active "
           "board and opens its image window. <b>Always on top</b> keeps the window above the "
           "others, and <b>Close</b> hides it.</p>"
           "<p>Without hardware the window shows two lists: <b>System Module</b>, the elements "
           "of the configuration, and <b>Available Module</b>, the modules that fit the "
           "selected element. <b>&lt;- Add</b> puts the chosen module into the element, "
           "<b>Remove-&gt;</b> takes the element's module out.</p>"
           "<p>In both variants a double click on an element opens its " +
           Link(HelpBook::TopicLink(HelpBook::kModuleTopic), "Module Setup") +
           " dialog. System Dialog... on the main menu shows and hides the window.</p>" + "<p>" +
           Link(HelpBook::TopicLink(HelpBook::kContentsTopic), "Contents") + "</p>";
}

std::string ModuleBody(const std::vector<ModelFacts> &models) {
    return Title("Module Setup") +
           "<p>The Module Setup dialog edits one element of the system. Each tab is a page of "
           "settings; the first row of every page chooses the page. A drop-down row takes "
           "effect as soon as a choice is made; a number row opens the value entry dialog. "
           "Every change is written to the hardware of the current camera port at once.</p>"
           "<p><b>OK</b> keeps the changes and marks the configuration changed when any setting "
           "differs from its value when the dialog opened. <b>Cancel</b> restores those values "
           "and rewrites the hardware. <b>View Registers</b> prints the module's registers to "
           "the console pane.</p>"
           "<p>Four-port modules have an <b>Active Camera</b> row: the settings shown and "
           "written are those of that camera port, and each port's camera selector applies a "
           "camera of the camera database to it.</p>"
           "<h2>Settings of each model</h2>" +
           ModelList(models) + "<p>" +
           Link(HelpBook::TopicLink(HelpBook::kContentsTopic), "Contents") + "</p>";
}

std::string ModelBody(const ModelFacts &model) {
    std::string html = Title(model.name + " settings");
    if (model.rows.empty() && model.unlabelled.empty())
        html += "<p>This model has no settings of its own.</p>";
    for (const RowFacts &row : model.rows) html += RowEntry(row, false);
    if (!model.unlabelled.empty()) {
        html +=
            "<h2>Keys without a row</h2><p>These keys are written to the configuration "
            "but not shown in the Module Setup dialog.</p>";
        for (const RowFacts &row : model.unlabelled) html += RowEntry(row, false);
    }
    return html + "<p>" + Link(HelpBook::TopicLink(HelpBook::kModuleTopic), "Module Setup") +
           " &middot; " + Link(HelpBook::TopicLink(HelpBook::kContentsTopic), "Contents") + "</p>";
}

}  // namespace

std::string EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string HelpBook::TopicLink(int topic) {
    return "topic:" + std::to_string(topic);
}

std::string HelpBook::ModelLink(std::string_view model) {
    return "model:" + std::string(model);
}

HelpBook::HelpBook() {
    std::vector<ModelFacts> models;
    for (const keys::ModelTable *table : keys::AllModels()) models.push_back(DescribeModel(*table));

    // The rows of every model gathered under the topics their help table gives them.
    std::map<int, std::vector<const RowFacts *>> byTopic;
    for (const ModelFacts &model : models)
        for (const RowFacts &row : model.rows)
            if (row.topic != kModuleTopic && row.topic != kContentsTopic &&
                row.topic != kSystemWindowTopic)
                byTopic[row.topic].push_back(&row);

    std::map<int, std::string> topicTitles;
    std::vector<int> rowTopics;
    for (const auto &[topic, rows] : byTopic) {
        topicTitles[topic] = TopicTitle(rows);
        rowTopics.push_back(topic);
    }

    Add(kContentsTopic,
        {TopicLink(kContentsTopic), "Contents", ContentsBody(models, rowTopics, topicTitles)});
    Add(kSystemWindowTopic, {TopicLink(kSystemWindowTopic), "System window", SystemWindowBody()});
    Add(kModuleTopic, {TopicLink(kModuleTopic), "Module Setup", ModuleBody(models)});
    for (TopicPage &page : ImageWindowHelpPages(TopicLink(kContentsTopic)))
        Add(page.topic, {TopicLink(page.topic), std::move(page.title), std::move(page.body)});
    for (const auto &[topic, rows] : byTopic) {
        std::string body = Title(topicTitles[topic]);
        for (const RowFacts *row : rows) body += RowEntry(*row, true);
        body += "<p>" + Link(TopicLink(kModuleTopic), "Module Setup") + " &middot; " +
                Link(TopicLink(kContentsTopic), "Contents") + "</p>";
        Add(topic, {TopicLink(topic), topicTitles[topic], std::move(body)});
    }
    for (const ModelFacts &model : models)
        pages_.push_back({model.link, model.name + " settings", ModelBody(model)});
}

void HelpBook::Add(int topic, HelpPage page) {
    topics_[topic] = pages_.size();
    pages_.push_back(std::move(page));
}

const HelpPage *HelpBook::Find(int topic) const {
    const auto found = topics_.find(topic);
    return found == topics_.end() ? nullptr : &pages_[found->second];
}

const HelpPage *HelpBook::FindLink(std::string_view link) const {
    for (const HelpPage &page : pages_)
        if (page.link == link) return &page;
    return nullptr;
}

HelpPage HelpBook::PageFor(int topic) const {
    if (const HelpPage *page = Find(topic)) return *page;
    HelpPage contents = *Find(kContentsTopic);
    contents.body = "<p><i>There is no help page for topic " + std::to_string(topic) +
                    "; the contents are shown instead.</i></p>" + contents.body;
    return contents;
}

std::vector<int> HelpBook::Topics() const {
    std::vector<int> topics;
    for (const auto &entry : topics_) topics.push_back(entry.first);
    return topics;
}

const HelpPage &HelpNavigator::ShowTopic(int topic) {
    history_.push_back(book_.PageFor(topic));
    return history_.back();
}

const HelpPage *HelpNavigator::Follow(std::string_view link) {
    const HelpPage *page = book_.FindLink(link);
    if (page == nullptr) return nullptr;
    history_.push_back(*page);
    return &history_.back();
}

const HelpPage *HelpNavigator::Back() {
    if (!CanGoBack()) return nullptr;
    history_.pop_back();
    return &history_.back();
}

}  // namespace qvi
