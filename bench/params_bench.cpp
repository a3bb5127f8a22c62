// How long it takes to build a large module container and print it: the work
// done for every module when a configuration is loaded and saved.
#include <benchmark/benchmark.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "library/hardware.h"
#include "params/mod.h"

namespace qvi {
namespace {

constexpr int kParams = 200;
constexpr int kPorts = 4;

// 200 four-port parameters: a third choices, a third decimal or hexadecimal
// numbers, a third texts, each with a row, in four groups.
class LargeModule : public QV_mod {
public:
    LargeModule() : QV_mod("TX-BENCH", nullptr) {
        CreateModParams();
        CreateUsrParams();
        CreateParamGroups();
        BuildPageList();
    }

    void CreateModParams() override {
        const std::array<QV_param_val, 1> number{QV_param_val::U16(255)};
        const std::array<QV_param_val, 1> word{QV_param_val::U16(1)};
        const std::array<QV_param_val, 1> text{QV_param_val::Text("Camera")};
        for (int handle = 0; handle < kParams; ++handle) {
            std::string name = "Key_" + std::to_string(handle);
            switch (handle % 3) {
                case 0:
                    AddModParam(std::make_unique<QV_choice_param>(
                        name, kPorts, word, handle, handle, std::make_unique<Val2IndexConverter>(),
                        std::make_unique<Index2ValConverter>(),
                        std::make_unique<Val2IndexConverter>(), nullptr, nullptr, nullptr,
                        std::vector<std::string>{"Off", "On", "Auto"},
                        std::vector<QV_param_val>{QV_param_val::U16(0), QV_param_val::U16(1),
                                                  QV_param_val::U16(2)},
                        handle % 2 == 0));
                    break;
                case 1:
                    AddModParam(std::make_unique<QV_range_param>(
                        name, kPorts, number, handle, handle, nullptr, nullptr, nullptr, nullptr,
                        nullptr, nullptr, handle % 2 ? 16 : 10));
                    break;
                default:
                    AddModParam(std::make_unique<QV_string_param>(name, kPorts, text, -1, handle,
                                                                  nullptr, nullptr, nullptr,
                                                                  nullptr, nullptr, nullptr));
                    break;
            }
        }
    }

    void CreateUsrParams() override {
        const ParamList &params = GetModParams();
        for (int id = 0; id < kParams; ++id) {
            std::string label = "Label " + std::to_string(id);
            if (id % 3 == 0)
                AddUsrParam(std::make_unique<QV_choice_usr_param>(
                    label, id, params, id, std::vector<std::string>{"Off", "On", "Auto"}));
            else if (id % 3 == 1)
                AddUsrParam(std::make_unique<QV_range_usr_param>(
                    label, id, params, id, QV_param_val::U16(0), QV_param_val::U16(1023),
                    QV_param_val::U16(1)));
            else
                AddUsrParam(std::make_unique<QV_value_usr_param>(label, id, params, id));
        }
    }

    void CreateParamGroups() override {
        std::vector<int> ids;
        for (int group = 0; group < 4; ++group) {
            ids.clear();
            for (int id = group; id < kParams; id += 4) ids.push_back(id);
            AddParamGroup(std::make_unique<QV_param_group>("Group " + std::to_string(group), ids,
                                                           GetUsrParams()));
        }
    }
};

void BM_BuildContainerAndWriteAllLines(benchmark::State &state) {
    SetHardwareEnabled(false);
    for (auto _ : state) {
        LargeModule module;
        std::size_t characters = 0;
        for (int port = 0; port < kPorts; ++port)
            for (const auto &param : module.GetModParams())
                characters += param->GetCFGString(port).size();
        benchmark::DoNotOptimize(characters);
    }
    state.SetItemsProcessed(state.iterations() * kParams * kPorts);
}
BENCHMARK(BM_BuildContainerAndWriteAllLines)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qvi
