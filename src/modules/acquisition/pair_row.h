// A Module Setup drop-down that sets two choice parameters at once.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "modules/label_table.h"
#include "params/usr_param.h"

namespace qvi {

// What one choice of a pair row sets: a position for each parameter. kAny
// reads as any position and is set as 0.
struct ChoicePair {
    static constexpr int kAny = -1;
    int first;
    int second;
};

// The trigger rows: disabled (the first parameter's 1), software trigger (the
// second's 1) or external trigger.
inline constexpr ChoicePair kTriggerChoices[] = {
    {1, ChoicePair::kAny}, {ChoicePair::kAny, 1}, {ChoicePair::kAny, ChoicePair::kAny}};
// Two two-way choices counted in binary, the first parameter the high bit.
inline constexpr ChoicePair kBinaryChoices[] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};

// The two parameters of a pair row, its choices in the row's order, and how
// it treats an index outside them.
struct PairRow {
    int firstHandle;
    int secondHandle;
    std::span<const ChoicePair> choices;
    // The parameters are read as their stored values, not as their positions.
    bool readsStored = false;
    // Shown before a bad index; empty: a bad index is not reported.
    std::string_view badIndexText = {};
    // A bad index sets the first choice; otherwise it changes nothing.
    bool badIndexSetsFirst = false;
};

// A drop-down that stands for two choice parameters: it shows the first
// choice whose pair they hold (the last when none is), and a choice sets the
// first parameter, then the second, as index values.
class QV_pair_usr_param : public QV_choice_usr_param {
public:
    // `pair` is borrowed: a model's constant table.
    QV_pair_usr_param(std::string label, int id, const ParamList &params, int handle,
                      std::vector<std::string> labels, const PairRow &pair);

    int SetIndex(int index) override;
    int GetIndex() override;

private:
    int Held(QV_mod_param &param) const;
    void Set(const ChoicePair &choice);

    const PairRow &pair_;
    QV_mod_param *first_;
    QV_mod_param *second_;
};

// The maker of a pair row for a table of special rows.
template <const PairRow &Pair>
std::unique_ptr<QV_usr_param> MakePairRow(const labels::LabelRow &row, const ParamList &params) {
    return std::make_unique<QV_pair_usr_param>(std::string(row.label), row.id, params, row.handle,
                                               labels::ToStrings(row.choices), Pair);
}

}  // namespace qvi
