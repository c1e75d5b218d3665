#pragma once
// A reusable address sub-form. Every instance carries its own form component,
// so the frame is localised on its own: its pack paths start with the class
// name ("AddressFrame.lblStreet.text"), shared by every place it is used. The
// class stays outside any namespace because its name is that path's root.

#include <QWidget>

#include <memory>

namespace Ui {
class AddressFrame;
}

class AddressFrame : public QWidget {
    Q_OBJECT

public:
    explicit AddressFrame(QWidget* parent = nullptr);
    ~AddressFrame() override;

    /// Empties the fields the user types into.
    void Clear();

private:
    std::unique_ptr<Ui::AddressFrame> ui;
};
