#pragma once

#include <memory>

#include "params/param_val.h"

namespace qvi {

class QV_mod_param;

// Translates a value between the forms a parameter is stored, shown, written
// to the hardware, read from the library and printed in. Each parameter owns
// six; the parameter tells each of them who it belongs to when it is built.
class Converter {
public:
    virtual ~Converter() = default;
    virtual QV_param_val Convert(const QV_param_val &value);

    void SetParam(QV_mod_param *param) { param_ = param; }
    QV_mod_param *Param() const { return param_; }

protected:
    // The name of the owning parameter, for messages.
    std::string ParamName() const;

private:
    QV_mod_param *param_ = nullptr;
};

using ConverterPtr = std::unique_ptr<Converter>;

// The identity: stands in for every converter a parameter is not given.
class NullConverter : public Converter {};

// value * scale + offset, in single precision, back in the value's kind when it
// fits (truncated toward zero), otherwise left a float.
class ScaleOffsetConverter : public Converter {
public:
    ScaleOffsetConverter(QV_param_val scale, QV_param_val offset)
        : scale_(std::move(scale)), offset_(std::move(offset)) {}
    QV_param_val Convert(const QV_param_val &value) override;

private:
    QV_param_val scale_;
    QV_param_val offset_;
};

// value + offset, in single precision, back in the value's kind when it fits.
class OffsetConverter : public Converter {
public:
    explicit OffsetConverter(QV_param_val offset) : offset_(std::move(offset)) {}
    QV_param_val Convert(const QV_param_val &value) override;

private:
    QV_param_val offset_;
};

// The two converters above with single-precision factors, as modules build
// them for their key rows.
ConverterPtr MakeScaleOffset(float scale, float offset);
ConverterPtr MakeOffset(float offset);

// Swaps 0 and 1 in the value's kind; any other value is reported and gives 0.
class InvertConverter : public Converter {
public:
    QV_param_val Convert(const QV_param_val &value) override;
};

// A choice parameter's value to its position in the choice values (0 when it
// is in none of them).
class Val2IndexConverter : public Converter {
public:
    QV_param_val Convert(const QV_param_val &value) override;
};

// A position in a choice parameter's list to the choice value there.
class Index2ValConverter : public Converter {
public:
    QV_param_val Convert(const QV_param_val &value) override;
};

}  // namespace qvi
