#pragma once

#include <QLabel>

namespace qasp::app {

// The colour legend's picker panel: shows the picked colour code and
// inserts it on a double click.
class PickerPanel : public QLabel {
    Q_OBJECT
public:
    explicit PickerPanel(QWidget *parent = nullptr);

signals:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

}  // namespace qasp::app
