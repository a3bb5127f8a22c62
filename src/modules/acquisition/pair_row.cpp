// A Module Setup drop-down that sets two choice parameters at once.
#include "modules/acquisition/pair_row.h"

#include "params/mod_param.h"
#include "platform/ui.h"

namespace qvi {

namespace {

bool Matches(int wanted, int held) {
    return wanted == ChoicePair::kAny || wanted == held;
}

int Settable(int position) {
    return position == ChoicePair::kAny ? 0 : position;
}

}  // namespace

QV_pair_usr_param::QV_pair_usr_param(std::string label, int id, const ParamList &params, int handle,
                                     std::vector<std::string> labels, const PairRow &pair)
    : QV_choice_usr_param(std::move(label), id, params, handle, std::move(labels)),
      pair_(pair),
      first_(FindParam(params, pair.firstHandle)),
      second_(FindParam(params, pair.secondHandle)) {}

int QV_pair_usr_param::Held(QV_mod_param &param) const {
    if (pair_.readsStored) return static_cast<int>(param.GetRawValue().ToDouble());
    return param.GetUIValue().GetLong();
}

void QV_pair_usr_param::Set(const ChoicePair &choice) {
    first_->SetUIValue(QV_param_val::Index(Settable(choice.first)));
    second_->SetUIValue(QV_param_val::Index(Settable(choice.second)));
}

int QV_pair_usr_param::GetIndex() {
    if (first_ == nullptr || second_ == nullptr || pair_.choices.empty()) return -1;
    const int first = Held(*first_);
    const int second = Held(*second_);
    for (std::size_t i = 0; i < pair_.choices.size(); ++i) {
        const ChoicePair &choice = pair_.choices[i];
        if (Matches(choice.first, first) && Matches(choice.second, second))
            return static_cast<int>(i);
    }
    return static_cast<int>(pair_.choices.size()) - 1;
}

int QV_pair_usr_param::SetIndex(int index) {
    if (first_ == nullptr || second_ == nullptr || pair_.choices.empty()) return -1;
    if (index >= 0 && index < static_cast<int>(pair_.choices.size())) {
        Set(pair_.choices[static_cast<std::size_t>(index)]);
        return kRedrawRow;
    }
    if (!pair_.badIndexText.empty()) ReportError(MessageText(pair_.badIndexText, index));
    if (pair_.badIndexSetsFirst) Set(pair_.choices.front());
    return kRedrawRow;
}

}  // namespace qvi
