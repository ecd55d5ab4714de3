#pragma once
// Scripted services for tests: they record what the logic asked and answer as told.

#include "model/services.h"
#include "model/text.h"

#include <string>
#include <vector>

namespace pm::test {

struct ShownMessage {
    std::string text;
    std::string caption;
    MsgIcon icon;
};

class FakeMessages : public MessageService {
public:
    void show(std::u16string_view text, std::u16string_view caption, MsgIcon icon) override {
        shown.push_back({toUtf8(text), toUtf8(caption), icon});
    }
    bool askYesNo(std::u16string_view text, std::u16string_view caption) override {
        asked.push_back({toUtf8(text), toUtf8(caption), MsgIcon::Question});
        return answerYes;
    }
    std::vector<ShownMessage> shown;
    std::vector<ShownMessage> asked;
    bool answerYes = true;
};

class FakeDialogs : public DialogService {
public:
    void showScaleDialog(ScaleDialogValues& values) override {
        seen = values;
        values = typed;
        ++scaleShown;
    }
    bool askSlope(double& angle) override {
        slopeSeen = angle;
        angle = slopeTyped;
        return slopeOk;
    }
    ScaleDialogValues seen;
    ScaleDialogValues typed;
    int scaleShown = 0;
    double slopeSeen = -1;
    double slopeTyped = 0;
    bool slopeOk = true;
};

} // namespace pm::test
