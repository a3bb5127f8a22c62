#pragma once

// The rows, pages and help topics of a module's Module Setup dialog as plain
// tables, so that each module's file reads like its label, group and help
// tables, and the few helpers that turn those tables into user parameters.

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "params/usr_param.h"

namespace qvi {
class QV_mod;
}

namespace qvi::labels {

enum class Kind : std::uint8_t {
    Choice,   // a drop-down of the choice labels
    Range,    // a number between the bounds, in the type of the parameter it edits
    Camera,   // the camera selector of one port (port given in the row)
    Port,     // the active-port selector; its choice labels name the ports
    Special,  // a row of the module's own kind, made by the module
};

enum Flags : int {
    kPlain = 0,
    kNotify = 1,  // every change is followed by a refresh call to the owner board
    kGreyed = 2,  // shown but not editable
};

struct Bounds {
    double min;
    double max;
    double step;
};
inline constexpr Bounds kNoBounds{};

using Texts = std::span<const std::string_view>;

// One row of the dialog: its user-parameter number, the handle of the
// parameter it edits, its label and kind, its choice labels or bounds, its
// flags, and for a camera selector the port.
struct LabelRow {
    int id;
    int handle;
    std::string_view label;
    Kind kind;
    Texts choices;
    Bounds bounds;
    int flags;
    int port = 0;
};

struct IdRange {
    int first;
    int last;
};

// One page: its title and its members' user-parameter numbers in page order.
struct GroupRow {
    std::string_view title;
    std::span<const IdRange> members;
};

struct HelpRow {
    int id;
    int topic;
};

// The topic of every row a module's help table does not list.
inline constexpr int kDefaultHelpTopic = 13;

using SpecialMaker =
    std::function<std::unique_ptr<QV_usr_param>(const LabelRow &, const ParamList &)>;

// What the rows of one module share: the module-type word its camera
// selectors list cameras for, and the maker of its own kinds of row.
struct LabelContext {
    std::string_view cameraKey;
    SpecialMaker special;
};

// A module's own row found by its id in a table of makers: the table reads
// like the module's list of special rows.
using RowMaker = std::unique_ptr<QV_usr_param> (*)(const LabelRow &, const ParamList &);
struct SpecialRow {
    int id;
    RowMaker make;
};
// The maker of the rows a table lists; null for a row it does not list.
SpecialMaker SpecialRowsFrom(std::span<const SpecialRow> rows);

std::vector<std::string> ToStrings(Texts texts);
// A special row's bound as a signed 16-bit or a float value.
QV_param_val S16Bound(double number);
QV_param_val FloatBound(double number);

// Makers for a table of special rows, by what the row's class takes after
// the label, id, parameters and handle: nothing, the choice labels, or the
// bounds in the kind BoundOf gives.
template <class Row>
std::unique_ptr<QV_usr_param> MakePlainRow(const LabelRow &row, const ParamList &params) {
    return std::make_unique<Row>(std::string(row.label), row.id, params, row.handle);
}
template <class Row>
std::unique_ptr<QV_usr_param> MakeChoiceRow(const LabelRow &row, const ParamList &params) {
    return std::make_unique<Row>(std::string(row.label), row.id, params, row.handle,
                                 ToStrings(row.choices));
}
template <class Row, QV_param_val (*BoundOf)(double) = S16Bound>
std::unique_ptr<QV_usr_param> MakeRangeRow(const LabelRow &row, const ParamList &params) {
    return std::make_unique<Row>(std::string(row.label), row.id, params, row.handle,
                                 BoundOf(row.bounds.min), BoundOf(row.bounds.max),
                                 BoundOf(row.bounds.step));
}
// The members of a page, ranges written out.
std::vector<int> Expand(std::span<const IdRange> ranges);

// The user parameter of one row; null for a special row without a maker.
std::unique_ptr<QV_usr_param> MakeLabelRow(const LabelRow &row, const ParamList &params,
                                           const LabelContext &context);
// Adds the rows in table order and sets their flags.
void AddLabelRows(QV_mod &module, std::span<const LabelRow> rows, const LabelContext &context);
// Adds the pages in table order.
void AddGroups(QV_mod &module, std::span<const GroupRow> groups);
// The help topic of a row; the default topic for a row not listed.
int HelpTopicOf(std::span<const HelpRow> topics, int id);

}  // namespace qvi::labels
