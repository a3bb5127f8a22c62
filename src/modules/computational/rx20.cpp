#include "modules/computational/rx20.h"

#include "modules/model_tables.h"

namespace qvi {

QV_rx20_mod::QV_rx20_mod(QV_plat_mod *ownerBoard) : QV_table_mod(keys::kRx20Table, ownerBoard) {}

}  // namespace qvi
