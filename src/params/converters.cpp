// The converters between a parameter's stored, shown, written, read and printed forms.
#include "params/converters.h"

#include "params/mod_param.h"
#include "platform/ui.h"

namespace qvi {

namespace {

// Back to the input's kind when the number fits it, else the float itself.
QV_param_val InKindOf(const QV_param_val &input, float result) {
    QV_param_val value = QV_param_val::Float(result);
    QV_param_val converted = value;
    if (converted.ConvertTo(input.GetKind()) == 0) return converted;
    return value;
}

float AsFloat(const QV_param_val &value) {
    QV_param_val copy = value;
    copy.ConvertTo(ValKind::Float);
    return copy.GetKind() == ValKind::Float ? copy.GetFloat() : 0.0f;
}

// The choice parameter a list converter works on, or null after the message.
const QV_choice_param *ChoiceParamOf(const QV_mod_param *param, const char *converterName) {
    if (param == nullptr) return nullptr;
    if (param->GetType() != "CHOICE") {
        ReportError(MessageText(converterName, " is not a valid converter for mod param: ",
                                param->GetName(), " which is mod param type: ", param->GetType()));
        return nullptr;
    }
    return dynamic_cast<const QV_choice_param *>(param);
}

}  // namespace

QV_param_val Converter::Convert(const QV_param_val &value) {
    return value;
}

ConverterPtr MakeScaleOffset(float scale, float offset) {
    return std::make_unique<ScaleOffsetConverter>(QV_param_val::Float(scale),
                                                  QV_param_val::Float(offset));
}

ConverterPtr MakeOffset(float offset) {
    return std::make_unique<OffsetConverter>(QV_param_val::Float(offset));
}

std::string Converter::ParamName() const {
    return param_ ? param_->GetName() : std::string();
}

QV_param_val ScaleOffsetConverter::Convert(const QV_param_val &value) {
    float product = static_cast<float>(value.ToDouble() * static_cast<double>(AsFloat(scale_)));
    float sum = static_cast<float>(static_cast<double>(product) + offset_.ToDouble());
    return InKindOf(value, sum);
}

QV_param_val OffsetConverter::Convert(const QV_param_val &value) {
    float sum = static_cast<float>(value.ToDouble() + static_cast<double>(AsFloat(offset_)));
    return InKindOf(value, sum);
}

QV_param_val InvertConverter::Convert(const QV_param_val &value) {
    QV_param_val zero = QV_param_val::FromPayload(value.GetKind(), 0);
    QV_param_val one = QV_param_val::FromPayload(value.GetKind(), 1);
    if (value.GetKind() == ValKind::Float) {
        zero = QV_param_val::Float(0.0f);
        one = QV_param_val::Float(1.0f);
    }
    if (value.Equals(zero)) return one;
    if (value.Equals(one)) return zero;
    ReportError(MessageText("Bad value passed to InvertConverter for mod param: ", ParamName(),
                            " can only invert 0 & 1"));
    return zero;
}

QV_param_val Val2IndexConverter::Convert(const QV_param_val &value) {
    const QV_choice_param *choice = ChoiceParamOf(Param(), "Val2IndexConverter");
    if (choice == nullptr) return QV_param_val::Index(0);
    for (int i = 0; i < choice->GetChoiceCount(); ++i) {
        if (choice->GetChoiceValue(i).Equals(value)) return QV_param_val::Index(i);
    }
    return QV_param_val::Index(0);
}

QV_param_val Index2ValConverter::Convert(const QV_param_val &value) {
    const QV_choice_param *choice = ChoiceParamOf(Param(), "Index2ValConverter");
    if (choice == nullptr) return QV_param_val::Index(0);
    int position = value.GetLong();
    if (position < 0 || position >= choice->GetChoiceCount()) {
        // The dialog offers only existing positions; anything else is a fault
        // of the caller and must not reach the hardware as garbage.
        ReportError(MessageText("invalid choice index: ", position,
                                " passed to Index2ValConverter for mod param: ", ParamName()));
        return choice->GetChoiceCount() > 0 ? choice->GetChoiceValue(0) : QV_param_val::Index(-1);
    }
    return choice->GetChoiceValue(position);
}

}  // namespace qvi
