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
    bool askLabel(std::u16string& text) override {
        labelsSeen.push_back(toUtf8(text));
        if (!labelOk)
            return false;
        text = labelTyped;
        return true;
    }
    int askDxfPieces(int pieces) override {
        piecesSeen = pieces;
        return piecesTyped;
    }
    int chooseScanner(const std::vector<std::string>& choices, int) override {
        scannersSeen = choices;
        return scannerPick;
    }
    bool chooseColor(std::uint32_t& color) override {
        colorSeen = color;
        if (!colorOk)
            return false;
        color = colorTyped;
        return true;
    }
    bool chooseFont(std::u16string& face, int& height, int& style, std::uint32_t& color) override {
        ++fontShown;
        if (!fontOk)
            return false;
        face = fontFace;
        height = fontHeight;
        style = fontStyle;
        color = fontColor;
        return true;
    }
    std::uint32_t colorSeen = 0, colorTyped = 0x00FF00;
    bool colorOk = true;
    int fontShown = 0;
    bool fontOk = true;
    std::u16string fontFace = u"DejaVu Serif";
    int fontHeight = -20, fontStyle = 1;
    std::uint32_t fontColor = 0x0000FF;
    std::vector<std::string> scannersSeen;
    int scannerPick = 0;
    int piecesSeen = 0;
    int piecesTyped = 4;
    ScaleDialogValues seen;
    ScaleDialogValues typed;
    std::vector<std::string> labelsSeen;
    std::u16string labelTyped;
    bool labelOk = true;
    int scaleShown = 0;
    double slopeSeen = -1;
    double slopeTyped = 0;
    bool slopeOk = true;
};

class FakeFiles : public FileDialogService {
public:
    std::string openFileName(std::u16string_view caption, const std::string& filter) override {
        lastCaption = toUtf8(caption);
        lastFilter = filter;
        return next;
    }
    std::string saveFileName(std::u16string_view caption, const std::string& filter,
                             const std::string& suffix) override {
        lastSuffix = suffix;
        return openFileName(caption, filter);
    }
    std::string next; // what the "user" picks; empty: cancelled
    std::string lastCaption, lastFilter, lastSuffix;
};

class FakeKeyboard : public KeyboardState {
public:
    bool leftCtrlDown() const override { return leftCtrl; }
    bool ctrlDown() const override { return leftCtrl || rightCtrl; }
    bool altDown() const override { return alt; }
    bool leftCtrl = false, rightCtrl = false, alt = false;
};

} // namespace pm::test
