#include "config/config_model.h"
