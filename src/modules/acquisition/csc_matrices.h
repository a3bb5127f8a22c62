#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qvi {

// A colour-space conversion: the formats it converts between and its scaling
// (in the values of the keys "CSC_Input_Format", "CSC_Output_Format" and
// "CSC_Scaling"), and its 3 x 3 coefficients row by row.
struct QV_csc_matrix {
    std::string name;
    std::int16_t inputFormat = 0;
    std::int16_t outputFormat = 0;
    std::int16_t scaling = 0;
    std::array<float, 9> coefficients{};
};

// The colour-space matrices the colour modules offer, one list for the whole
// program: ten predefined conversions and "custom", the one entry whose
// values the user edits.
class QV_csc_matrix_catalogue {
public:
    static constexpr int kCustomIndex = 10;

    static QV_csc_matrix_catalogue &Instance();

    int Count() const { return static_cast<int>(matrices_.size()); }
    // The matrix at that index; a bad index is reported and gives none.
    const QV_csc_matrix *Get(int index) const;
    QV_csc_matrix *GetMutable(int index);
    const std::vector<std::string> &Names() const { return names_; }
    // The index of the matrix of that name (exact comparison); -1 for none.
    int Find(const std::string &name) const;

private:
    QV_csc_matrix_catalogue();
    bool IsValidIndex(int index) const;

    std::vector<QV_csc_matrix> matrices_;
    std::vector<std::string> names_;
};

}  // namespace qvi
