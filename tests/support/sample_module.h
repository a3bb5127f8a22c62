#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "params/mod.h"

namespace qvi::testing {

// A small four-port module with the three tables every module model has:
// a port selector (handle 0), a clamp level per port (handle 1, register 10),
// a sync choice per port (handle 2, register 11) and a bare-word choice
// (handle 3, no register).
class SampleModule : public QV_mod {
public:
    explicit SampleModule(ParamOwner *board) : QV_mod("TX-99", board) {
        CreateModParams();
        CreateUsrParams();
        CreateParamGroups();
        BuildPageList();
    }

    void CreateModParams() override {
        const std::array<QV_param_val, 1> port{QV_param_val::S16(0)};
        AddModParam(std::make_unique<QV_range_param>("Current_Port", 1, port, -1, 0, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     10));
        const std::array<QV_param_val, 4> clamp{QV_param_val::U16(10), QV_param_val::U16(11),
                                                QV_param_val::U16(12), QV_param_val::U16(13)};
        AddModParam(std::make_unique<QV_range_param>("Clamp_Level", 4, clamp, 10, 1, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     10));
        const std::array<QV_param_val, 1> sync{QV_param_val::U16(0)};
        AddModParam(std::make_unique<QV_choice_param>(
            "Sync_Source", 4, sync, 11, 2, std::make_unique<Val2IndexConverter>(),
            std::make_unique<Index2ValConverter>(), std::make_unique<Val2IndexConverter>(), nullptr,
            nullptr, nullptr, std::vector<std::string>{"Internal", "External"},
            std::vector<QV_param_val>{QV_param_val::U16(0), QV_param_val::U16(1)}, true));
        AddModParam(std::make_unique<QV_choice_param>(
            "", 1, sync, -1, 3, std::make_unique<Val2IndexConverter>(),
            std::make_unique<Index2ValConverter>(), std::make_unique<Val2IndexConverter>(), nullptr,
            nullptr, nullptr, std::vector<std::string>{"Non_Interlaced", "Interlaced"},
            std::vector<QV_param_val>{QV_param_val::U16(0), QV_param_val::U16(1)}, false));
        SetEditable(true);
    }

    void CreateUsrParams() override {
        const ParamList &params = GetModParams();
        AddUsrParam(std::make_unique<QV_port_usr_param>(
            "Camera Port", 0, params, 0,
            std::vector<std::string>{"Port 0", "Port 1", "Port 2", "Port 3"}));
        AddUsrParam(
            std::make_unique<QV_range_usr_param>("Clamp Level", 1, params, 1, QV_param_val::U16(0),
                                                 QV_param_val::U16(255), QV_param_val::U16(1)));
        AddUsrParam(std::make_unique<QV_choice_usr_param>(
            "Sync Source", 2, params, 2, std::vector<std::string>{"Internal", "External"}));
        AddUsrParam(std::make_unique<QV_choice_usr_param>(
            "Video Format", 3, params, 3,
            std::vector<std::string>{"Non Interlaced", "Interlaced"}));
    }

    void CreateParamGroups() override {
        const std::array<int, 3> camera{0, 1, 2};
        const std::array<int, 4> all{0, 1, 2, 3};
        AddParamGroup(std::make_unique<QV_param_group>("Camera", camera, GetUsrParams()));
        AddParamGroup(std::make_unique<QV_param_group>("All", all, GetUsrParams()));
    }

    using QV_mod::DisableModParam;
};

}  // namespace qvi::testing
