#pragma once
// The services of the core, built on Qt's message boxes and our dialogs.

#include "model/services.h"

#include <QObject>

class QWidget;

namespace pm {

class TBezeichnungForm;
class TDXFExportForm;
class TmassstabForm;
class TNeigungForm;

class QtMessageService : public MessageService {
public:
    explicit QtMessageService(QWidget* parent) : parent_(parent) {}
    void show(std::u16string_view text, std::u16string_view caption, MsgIcon icon) override;
    bool askYesNo(std::u16string_view text, std::u16string_view caption) override;

private:
    QWidget* parent_;
};

class QtDialogService : public DialogService {
public:
    QtDialogService(TmassstabForm* scale, TNeigungForm* slope, TBezeichnungForm* label,
                    TDXFExportForm* dxf = nullptr)
        : scale_(scale), slope_(slope), label_(label), dxf_(dxf) {}
    void showScaleDialog(ScaleDialogValues& values) override;
    bool askSlope(double& angle) override;
    bool askLabel(std::u16string& text) override;
    int askDxfPieces(int pieces) override;
    int chooseScanner(const std::vector<std::string>& choices, int current) override;
    bool chooseColor(std::uint32_t& color) override;
    bool chooseFont(std::u16string& face, int& height, int& style, std::uint32_t& color) override;

private:
    TmassstabForm* scale_;
    TNeigungForm* slope_;
    TBezeichnungForm* label_;
    TDXFExportForm* dxf_;
};

class QtFileDialogService : public FileDialogService {
public:
    explicit QtFileDialogService(QWidget* parent) : parent_(parent) {}
    std::string openFileName(std::u16string_view caption, const std::string& filter) override;
    std::string saveFileName(std::u16string_view caption, const std::string& filter,
                             const std::string& defaultSuffix) override;

private:
    QWidget* parent_;
};

// Follows the modifier keys from the key events the application sees. X11 tells the two CTRL
// keys apart by their key symbols; elsewhere CTRL counts as the left one.
class KeyboardTracker : public QObject, public KeyboardState {
public:
    explicit KeyboardTracker(QObject* parent = nullptr);
    bool leftCtrlDown() const override { return leftCtrl_; }
    bool ctrlDown() const override { return leftCtrl_ || rightCtrl_; }
    bool altDown() const override { return alt_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool leftCtrl_ = false;
    bool rightCtrl_ = false;
    bool alt_ = false;
};

} // namespace pm
