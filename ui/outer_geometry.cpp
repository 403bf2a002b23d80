#include "ui/outer_geometry.h"

#include <QEvent>
#include <QWidget>

namespace ui {
namespace {

class OuterGeometryKeeper : public QObject {
public:
    OuterGeometryKeeper(QWidget& window, QRect outer) : QObject(&window), window_(window), outer_(outer) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && !fitted_) {
            switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
                fitToFrame();
                break;
            default:
                break;
            }
        }
        return false;
    }

private:
    void fitToFrame() {
        const QRect frame = window_.frameGeometry();
        const QRect client = window_.geometry();
        if (frame == client)
            return;
        fitted_ = true;
        if (frame == outer_)
            return;
        const QSize margins = frame.size() - client.size();
        window_.resize(outer_.size() - margins);
        window_.move(outer_.topLeft());
    }

    QWidget& window_;
    const QRect outer_;
    bool fitted_ = false;
};

} // namespace

QRect centredOuterRect(QSize outer, QRect screen) {
    // C++ integer division truncates toward zero.
    return QRect(screen.left() + (screen.width() - outer.width()) / 2,
                 screen.top() + (screen.height() - outer.height()) / 2, outer.width(), outer.height());
}

void applyOuterGeometry(QWidget& window, QRect outer) {
    window.resize(outer.size());
    window.move(outer.topLeft());
    window.installEventFilter(new OuterGeometryKeeper(window, outer));
}

} // namespace ui
