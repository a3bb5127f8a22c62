#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "system/board_plat_mod.h"

namespace qvi::testing {

// A board that records the image, trigger and port calls it gets and
// answers as told.
class RecordingBoard : public QV_board_plat_mod {
public:
    RecordingBoard() : QV_board_plat_mod(nullptr, nullptr, 0, "test board") {}

    void SelectChannel(int channel) override { selected.push_back(channel); }
    int GrabLive(void *, int &width, int &height) override {
        calls.push_back("GrabLive");
        width = 1024;
        height = 512;
        return 1;
    }
    int Acquire(void *window, int &, int &, int code) override {
        calls.push_back("Acquire " + std::to_string(code) + (window ? "" : " without window"));
        return code == -3 ? directDraw : 1;
    }
    int Redraw(int channel) override {
        calls.push_back("Redraw " + std::to_string(channel));
        return 1;
    }
    int ReadPixel(int x, int y) override { return x * 1000 + y; }
    int SaveImageFile(const std::string &path) override {
        calls.push_back("Save " + path);
        return 0;
    }
    int LoadImageFile(const std::string &path, void *, int &width, int &height) override {
        calls.push_back("Load " + path);
        width = 320;
        height = 240;
        return loadResult;
    }
    void SetTriggerMode(int on) override { calls.push_back("TriggerMode " + std::to_string(on)); }
    void ArmTrigger() override { calls.push_back("ArmTrigger"); }
    int TriggerDone() override { return triggerDone; }
    int WaitTrigger(int count) override {
        calls.push_back("WaitTrigger " + std::to_string(count));
        return 0;
    }
    int ReadInputs(int bit) override { return bit < 0 ? inputs : (inputs >> bit) & 1; }
    std::int16_t SetOutputBit(int bit, int state) override {
        calls.push_back("Output " + std::to_string(bit) + "=" + std::to_string(state));
        return 0;
    }
    int SetInputMode(int bufferEnable, int strobePolarity) override {
        calls.push_back("InputMode " + std::to_string(bufferEnable) + " " +
                        std::to_string(strobePolarity));
        return 0;
    }
    int HardwareRevision() const override { return revision; }

    std::vector<std::string> calls;
    std::vector<int> selected;
    int directDraw = 1;
    int loadResult = 1;
    int revision = 35;
    int triggerDone = 0;
    int inputs = 0;
};

}  // namespace qvi::testing
