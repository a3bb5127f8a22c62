// The colour-space conversion matrices the TX-30 and TX-70 choose among.
#include "modules/acquisition/csc_matrices.h"

#include "platform/ui.h"

namespace qvi {

namespace {

// Formats: 0 RGB, 16 and 32 the colour-difference forms, as the keys' values.
// The coefficients are the nearest single-precision numbers to these decimals.
// clang-format off
const QV_csc_matrix kMatrices[] = {
    {"DEF_RGB_RGB",     0,  0,  0, {1, 0, 0, 0, 1, 0, 0, 0, 1}},
    {"DEF_RGB_BGR",     0,  0,  0, {0, 0, 1, 0, 1, 0, 1, 0, 0}},
    {"DEF_RGB_RYYBY",   0,  16, 0, {0.500f, -0.419f, -0.081f, 0.299f, 0.587f, 0.114f, -0.169f, -0.331f, 0.500f}},
    {"DEF_RGB_YUV",     0,  16, 0, {0.299f, 0.587f, 0.114f, -0.169f, -0.331f, 0.500f, 0.500f, -0.419f, -0.081f}},
    {"DEF_RGB_YIQ",     0,  16, 0, {0.299f, 0.587f, 0.114f, 0.500f, -0.231f, -0.269f, 0.203f, -0.500f, 0.297f}},
    {"DEF_RGB_YCRCB",   0,  0,  0, {0.257f, 0.504f, 0.098f, 0.439f, -0.368f, -0.071f, -0.148f, -0.291f, 0.439f}},
    {"DEF_RYYBY_RYYBY", 32, 16, 0, {-1, 0, 0, 0, 1, 0, 0, 0, -1}},
    {"DEF_RYYBY_RGB",   32, 0,  0, {-1.402f, 1, 0, 0.714f, 1, 0.344f, 0, 1, -1.772f}},
    {"DEF_RYYBY_YUV",   32, 16, 0, {0.536f, 1.051f, -0.587f, 0.350f, 1.207f, 0.443f, -0.587f, 1.329f, 0.258f}},
    {"DEF_RYYBY_YIQ",   32, 16, 0, {-0.416f, 0.297f, 0, 0.212f, 0.297f, 0.102f, 0, 0.297f, 0.526f}},
    {"custom",          32, 16, 0, {-0.416f, 0.297f, 0, 0.212f, 0.297f, 0.102f, 0, 0.297f, 0.526f}},
};
// clang-format on

}  // namespace

QV_csc_matrix_catalogue &QV_csc_matrix_catalogue::Instance() {
    static QV_csc_matrix_catalogue catalogue;
    return catalogue;
}

QV_csc_matrix_catalogue::QV_csc_matrix_catalogue() {
    for (const QV_csc_matrix &matrix : kMatrices) {
        matrices_.push_back(matrix);
        names_.push_back(matrix.name);
    }
}

bool QV_csc_matrix_catalogue::IsValidIndex(int index) const {
    if (index >= 0 && index < Count()) return true;
    ReportError(MessageText("Invalid index: ", index, " passed to TX-30 CSC Matrix Manager"));
    return false;
}

const QV_csc_matrix *QV_csc_matrix_catalogue::Get(int index) const {
    return IsValidIndex(index) ? &matrices_[static_cast<std::size_t>(index)] : nullptr;
}

QV_csc_matrix *QV_csc_matrix_catalogue::GetMutable(int index) {
    return IsValidIndex(index) ? &matrices_[static_cast<std::size_t>(index)] : nullptr;
}

int QV_csc_matrix_catalogue::Find(const std::string &name) const {
    for (int i = 0; i < Count(); ++i)
        if (names_[static_cast<std::size_t>(i)] == name) return i;
    return -1;
}

}  // namespace qvi
