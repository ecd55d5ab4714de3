#pragma once
// Everything modal or outside the process that the logic needs comes through these small
// interfaces. The Qt program implements them with real dialogs; tests script them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

enum class MsgIcon { None, Information, Warning, Error, Question };

class MessageService {
public:
    virtual ~MessageService() = default;
    // A box with an OK button. An empty caption means the box has no caption of its own.
    virtual void show(std::u16string_view text, std::u16string_view caption, MsgIcon icon) = 0;
    // A yes/no box with a question icon; true only for "yes".
    virtual bool askYesNo(std::u16string_view text, std::u16string_view caption) = 0;
};

// The values the numeric scale dialog shows and gives back.
struct ScaleDialogValues {
    double pixel = 1.0;      // PixelEd
    double entspricht = 1.0; // entsprichted
    std::u16string einheit;  // EinheitEd
    bool anzeigen = true;    // CheckBox1
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Shows the scale dialog modally; however it is closed, the values it holds then are
    // written back.
    virtual void showScaleDialog(ScaleDialogValues& values) = 0;
    // Shows the slope dialog with `angle` filled in; true and the typed angle on OK.
    virtual bool askSlope(double& angle) = 0;
    // Shows the label dialog with `text` in its field; true and the typed text on OK only.
    virtual bool askLabel(std::u16string& text) = 0;
    // The DXF export dialog: pieces per curve, 1 to 20, starting from `pieces`.
    virtual int askDxfPieces(int pieces) = 0;
    // The colour dialog, fully open, starting from `color` (0xRRGGBB); true with the choice.
    virtual bool chooseColor(std::uint32_t& color) = 0;
    // The font dialog on the label font: face, pixel height, bold, italic, underline, strike
    // out and colour; true when confirmed.
    virtual bool chooseFont(std::u16string& face, int& height, int& style,
                            std::uint32_t& color) = 0;
    // Lets the user pick one of `choices` (the current one first selected); -1 when cancelled.
    virtual int chooseScanner(const std::vector<std::string>& choices, int current) = 0;
};

// The file dialogs. Filters are "description|patterns|..." with patterns separated by ';'.
// An empty result means the dialog was cancelled.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    virtual std::string openFileName(std::u16string_view caption, const std::string& filter) = 0;
    virtual std::string saveFileName(std::u16string_view caption, const std::string& filter,
                                     const std::string& defaultSuffix) = 0;
};

// Which modifier keys are down. Left and right CTRL are told apart: the left one alone makes
// squares and circles.
class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual bool leftCtrlDown() const = 0;
    virtual bool ctrlDown() const = 0; // either CTRL key
    virtual bool altDown() const = 0;
};

} // namespace pm
