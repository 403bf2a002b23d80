// Preloaded into the program under measurement (LD_PRELOAD) by startup_launch, so that the program itself
// carries no timing code. Once the QApplication exists it watches every event and writes one line per
// moment to the descriptor named by STARTUP_TRACE_FD, with the time of CLOCK_MONOTONIC in nanoseconds,
// the clock startup_launch reads as well:
//
//   painted NS [X Y]    the first paint of the window has been drawn and handed to the X server; X Y is
//                       the centre of the start button on the screen, when the window has one
//   released NS         the mouse button was released over the start button
//   results NS V VH     after that release, the result boxes have been repainted; V and VH are their texts
//
// Qt draws a window and hands the picture to the X server within the handling of one event (the expose
// or update request). A call queued from inside a paint event runs once that handling is over, so the
// time it takes is the time the picture left the program.
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

constexpr const char* kStartButton = "按钮1";
constexpr const char* kVolumeBox = "编辑框V";
constexpr const char* kLiquidVolumeBox = "编辑框Vh";

long long monotonicNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void writeLine(int descriptor, const std::string& line) {
    std::string text = line + '\n';
    const char* next = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        ssize_t written = ::write(descriptor, next, left);
        if (written <= 0)
            return;
        next += written;
        left -= static_cast<std::size_t>(written);
    }
}

QString boxText(const QWidget* window, const char* name) {
    const auto* box = window == nullptr ? nullptr : window->findChild<const QLineEdit*>(QString::fromUtf8(name));
    return box == nullptr ? QStringLiteral("-") : box->text();
}

class PaintTrace : public QObject {
public:
    explicit PaintTrace(int descriptor) : descriptor_(descriptor) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr)
            return false;
        if (event->type() == QEvent::Paint) {
            if (!painted_) {
                painted_ = true;
                window_ = widget->window();
                QMetaObject::invokeMethod(this, &PaintTrace::reportPainted, Qt::QueuedConnection);
            } else if (awaitingResults_ && (isNamed(widget, kVolumeBox) || isNamed(widget, kLiquidVolumeBox))) {
                awaitingResults_ = false;
                QMetaObject::invokeMethod(this, &PaintTrace::reportResults, Qt::QueuedConnection);
            }
        } else if (event->type() == QEvent::MouseButtonRelease && isNamed(widget, kStartButton)) {
            writeLine(descriptor_, "released " + std::to_string(monotonicNanoseconds()));
            awaitingResults_ = true;
        }
        return false;
    }

private:
    static bool isNamed(const QWidget* widget, const char* name) {
        return widget->objectName() == QString::fromUtf8(name);
    }

    void reportPainted() {
        std::string line = "painted " + std::to_string(monotonicNanoseconds());
        const QWidget* button =
            window_ == nullptr ? nullptr : window_->findChild<const QWidget*>(QString::fromUtf8(kStartButton));
        if (button != nullptr) {
            QPoint centre = button->mapToGlobal(button->rect().center());
            line += ' ' + std::to_string(centre.x()) + ' ' + std::to_string(centre.y());
        }
        writeLine(descriptor_, line);
    }

    void reportResults() {
        std::string line = "results " + std::to_string(monotonicNanoseconds());
        line += ' ' + boxText(window_, kVolumeBox).toStdString();
        line += ' ' + boxText(window_, kLiquidVolumeBox).toStdString();
        writeLine(descriptor_, line);
    }

    int descriptor_;
    bool painted_ = false;
    bool awaitingResults_ = false;
    QPointer<QWidget> window_;
};

void installPaintTrace() {
    const char* descriptor = std::getenv("STARTUP_TRACE_FD");
    if (descriptor == nullptr || QCoreApplication::instance() == nullptr)
        return;
    auto* trace = new PaintTrace(std::atoi(descriptor));
    trace->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(trace);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(installPaintTrace)
