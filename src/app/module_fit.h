#pragma once

#include <string>
#include <vector>

namespace qvi {

class AppSettings;
class QV_mod_factory;
class QV_system;

// Whether a module model fits the empty slot element `element`: the slot of
// its board takes the kind of module the model is.
bool Fits(const QV_system &system, int element, const std::string &model);

// The module names of the settings' lists that fit the element; none unless
// the element is an empty slot.
std::vector<std::string> AvailableModules(const AppSettings &settings, const QV_system &system,
                                          int element);

// The first empty slot some module fits, or -1.
int FirstElementTakingModule(const QV_system &system);

// Puts a new module of the model into the empty slot element `element` and
// marks the configuration changed: 0, or -1 after its message.
int AddModule(QV_system &system, QV_mod_factory &factory, int element, const std::string &model);

}  // namespace qvi
