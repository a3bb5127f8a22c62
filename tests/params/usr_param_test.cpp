// The rows of the Module Setup dialog: drop-downs, number fields, text, selectors.
#include "params/usr_param.h"

#include <gtest/gtest.h>

#include "params/camera_list.h"
#include "params/mod.h"
#include "support/fake_registers.h"
#include "support/sample_module.h"
#include "support/test_env.h"
#include "system/plat_mod.h"

namespace qvi {
namespace {

using testing::FakeRegisters;
using testing::SampleModule;
using Write = FakeRegisters::Write;

class UsrParamTest : public testing::UiTest {
protected:
    FakeRegisters registers;
    QV_plat_mod board{"TX99_plat_mod", &registers, 3};
    SampleModule module{&board};
};

TEST_F(UsrParamTest, ChoiceRowStoresTheChoiceValueAndWritesTheRegister) {
    QV_usr_param *sync = module.GetUsrParam(2);
    EXPECT_EQ(sync->GetControlKind(), ControlKind::DropDown);
    EXPECT_EQ(sync->GetChoices(), (std::vector<std::string>{"Internal", "External"}));
    EXPECT_EQ(sync->GetIndex(), 0);
    EXPECT_EQ(sync->SetIndex(1), kRedrawRow);
    EXPECT_EQ(sync->GetIndex(), 1);
    EXPECT_TRUE(module.GetModParam(2)->GetRawValue().Equals(QV_param_val::U16(1)));
    EXPECT_EQ(registers.writes, (std::vector<Write>{{3, 11, 1, 16}}));
}

TEST_F(UsrParamTest, ChoiceRowRefusesAPositionOutsideItsLabels) {
    QV_usr_param *sync = module.GetUsrParam(2);
    EXPECT_EQ(sync->SetIndex(2), -1);
    EXPECT_EQ(sync->SetIndex(-1), -1);
    EXPECT_EQ(sync->GetIndex(), 0);
    EXPECT_TRUE(registers.writes.empty());
    EXPECT_EQ(ui.Errors(),
              (std::vector<std::string>{
                  "invalid index: 2 passed to SetIndex() for user param: Sync Source",
                  "invalid index: -1 passed to SetIndex() for user param: Sync Source"}));
}

TEST_F(UsrParamTest, RangeRowOffersItsLimitsAndStoresThroughTheParameter) {
    const ParamList &params = module.GetModParams();
    QV_range_usr_param total("Horizontal Total", 9, params, 1, QV_param_val::U16(0),
                             QV_param_val::U16(1023), QV_param_val::U16(1));
    EXPECT_EQ(total.GetControlKind(), ControlKind::Number);
    EXPECT_TRUE(total.GetMin().Equals(QV_param_val::U16(0)));
    EXPECT_TRUE(total.GetMax().Equals(QV_param_val::U16(1023)));
    EXPECT_TRUE(total.GetStep().Equals(QV_param_val::U16(1)));
    EXPECT_EQ(total.SetValue(QV_param_val::U16(700)), 0);
    EXPECT_EQ(total.GetValue().GetLong(), 700);
    EXPECT_EQ(registers.writes, (std::vector<Write>{{3, 10, 700, 16}}));
}

TEST_F(UsrParamTest, RowsWithoutAParameterOrOfAnotherControlChangeNothing) {
    const ParamList &params = module.GetModParams();
    QV_range_usr_param orphan("Orphan", 9, params, 99, QV_param_val::U16(0), QV_param_val::U16(1),
                              QV_param_val::U16(1));
    EXPECT_EQ(orphan.GetParam(), nullptr);
    EXPECT_EQ(orphan.SetValue(QV_param_val::U16(1)), -1);
    EXPECT_EQ(orphan.GetValue().GetKind(), ValKind::Index);
    EXPECT_EQ(orphan.SetIndex(0), -1);  // a number row has no list
    QV_value_usr_param text("Camera Name", 10, params, 1);
    EXPECT_EQ(text.GetControlKind(), ControlKind::Text);
    EXPECT_EQ(text.SetIndex(0), -1);
    EXPECT_TRUE(registers.writes.empty());
    EXPECT_EQ(ui.Errors().size(), 3u);
}

TEST_F(UsrParamTest, PortSelectorSwitchesEveryParameterRefreshesAndRewritesTheHardware) {
    QV_usr_param *port = module.GetUsrParam(0);
    EXPECT_EQ(port->SetIndex(2), kRedrawRows);
    EXPECT_EQ(port->GetIndex(), 2);
    for (const auto &param : module.GetModParams())
        EXPECT_EQ(param->GetCurrentPort(), param->GetPortCount() == 4 ? 2 : 0);
    EXPECT_EQ(module.GetUsrParam(1)->GetValue().GetLong(), 12);
    // The port value itself has no register; ApplyAll then rewrites port 2's values.
    EXPECT_EQ(registers.writes, (std::vector<Write>{{3, 10, 12, 16}, {3, 11, 0, 16}}));
    EXPECT_EQ(ui.waitCursorShown, 1);
    EXPECT_EQ(ui.waitCursorDepth, 0);

    EXPECT_EQ(port->SetIndex(4), -1);
    EXPECT_EQ(port->GetIndex(), 2);
}

// Cameras "A" and "B" suit port 1 of "TX99"; nothing suits other ports.
class FakeCameras : public CameraList {
public:
    std::vector<std::string> CameraNames(std::string_view key, int port) override {
        if (key == "TX99" && port == 1) return {"A", "B"};
        return {};
    }
    int ApplyCamera(std::string_view, int port, int index, QV_mod &module,
                    ParamOwner *owner) override {
        applied.push_back({port, index, owner});
        module.GetModParam(1)->SetRawValue(
            port, QV_param_val::U16(static_cast<std::uint16_t>(200 + index)));
        return 0;
    }
    struct Applied {
        int port;
        int index;
        ParamOwner *owner;
        bool operator==(const Applied &) const = default;
    };
    std::vector<Applied> applied;
};

class CameraUsrParamTest : public UsrParamTest {
protected:
    CameraUsrParamTest() { InstallCameraList(&cameras); }
    ~CameraUsrParamTest() override { InstallCameraList(nullptr); }

    // Shows the camera name kept in a text parameter of the module.
    QV_camera_usr_param &AddCameraRow(const char *currentName) {
        const std::array<QV_param_val, 4> names{QV_param_val::Text("x"),
                                                QV_param_val::Text(currentName),
                                                QV_param_val::Text("x"), QV_param_val::Text("x")};
        module.AddModParam(std::make_unique<QV_string_param>(
            "Camera_Name", 4, names, -1, 50, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
        auto row = std::make_unique<QV_camera_usr_param>("Camera", 50, module.GetModParams(), 50,
                                                         "TX99", 1);
        QV_camera_usr_param &camera = *row;
        module.AddUsrParam(std::move(row));
        module.MarkSaved();
        return camera;
    }

    FakeCameras cameras;
};

TEST_F(CameraUsrParamTest, AKnownCameraIsSelectedWithoutAnExtraEntry) {
    QV_camera_usr_param &camera = AddCameraRow("B");
    camera.Refresh();
    EXPECT_EQ(camera.GetChoices(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(camera.GetIndex(), 1);
    EXPECT_EQ(camera.SavedIndex(), -1);
}

TEST_F(CameraUsrParamTest, AnUnknownNameIsAppendedAndChoosingItRestoresThePort) {
    QV_camera_usr_param &camera = AddCameraRow("Custom 1");
    camera.Refresh();
    EXPECT_EQ(camera.GetChoices(), (std::vector<std::string>{"A", "B", "Custom 1"}));
    EXPECT_EQ(camera.GetIndex(), 2);
    EXPECT_EQ(camera.SavedIndex(), 2);

    EXPECT_EQ(camera.SetIndex(0), kRedrawRows);
    EXPECT_EQ(cameras.applied,
              (std::vector<FakeCameras::Applied>{{1, 0, nullptr}, {1, 0, &board}}));
    EXPECT_EQ(module.GetModParam(1)->GetRawValue(1).GetLong(), 200);
    EXPECT_EQ(camera.GetIndex(), 0);

    EXPECT_EQ(camera.SetIndex(2), kRedrawRows);
    EXPECT_EQ(cameras.applied.size(), 2u);  // nothing applied: the port was restored
    EXPECT_EQ(module.GetModParam(1)->GetRawValue(1).GetLong(), 11);
    EXPECT_EQ(ui.waitCursorShown, 2);
    EXPECT_EQ(ui.waitCursorDepth, 0);

    EXPECT_EQ(camera.SetIndex(3), -1);
}

}  // namespace
}  // namespace qvi
