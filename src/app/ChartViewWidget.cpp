#include "ChartViewWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "editor/ChartPainter.h"

namespace {
// The rate of the repeating scrolls: one step every 30 milliseconds while a button is held.
constexpr int kRepeatMs = 30;
}  // namespace

EditorKey EditorKeyOf(int qtKey) {
    switch (qtKey) {
        case Qt::Key_Shift: return EditorKey::Shift;
        case Qt::Key_PageUp: return EditorKey::PageUp;
        case Qt::Key_PageDown: return EditorKey::PageDown;
        case Qt::Key_Up: return EditorKey::Up;
        case Qt::Key_Down: return EditorKey::Down;
        case Qt::Key_F2: return EditorKey::F2;
        case Qt::Key_F3: return EditorKey::F3;
        case Qt::Key_F4: return EditorKey::F4;
        case Qt::Key_F5: return EditorKey::F5;
        case Qt::Key_F6: return EditorKey::F6;
        case Qt::Key_M: return EditorKey::M;
        case Qt::Key_V: return EditorKey::V;
        case Qt::Key_S: return EditorKey::S;
        case Qt::Key_D: return EditorKey::D;
        case Qt::Key_A: return EditorKey::A;
        case Qt::Key_Z: return EditorKey::Z;
        case Qt::Key_Y: return EditorKey::Y;
        case Qt::Key_Backspace: return EditorKey::Backspace;
        default: return EditorKey::Other;
    }
}

ChartViewWidget::ChartViewWidget(ChartView& view, NoteEditor& editor, QWidget* parent)
    : QWidget(parent), view(view), editor(editor), screen(view.geometry.width, view.geometry.height) {
    // The layout's width always; its height at least, and taller as the window grows.
    setFixedWidth(view.geometry.width);
    setMinimumHeight(view.geometry.WithHeight(0).height);
    resize(view.geometry.width, view.geometry.height);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    repeatTimer.setInterval(kRepeatMs);
    connect(&repeatTimer, &QTimer::timeout, this, [this] {
        this->editor.RepeatStep();
        FollowRepeat();
    });
}

void ChartViewWidget::resizeEvent(QResizeEvent*) {
    if (height() == view.geometry.height) return;
    view.SetHeight(height());
    screen = DrawScreen(view.geometry.width, view.geometry.height);
    update();
}

void ChartViewWidget::paintEvent(QPaintEvent*) {
    PaintChartView(view, screen);
    const QImage frame(reinterpret_cast<const uchar*>(screen.Pixels().data()), screen.Width(),
                       screen.Height(), screen.Width() * 4, QImage::Format_RGB32);
    QPainter painter(this);
    // On a high-density screen the frame is scaled by the largest whole factor the screen
    // allows, pixel by pixel, so the view stays sharp; a fractional rest stays black.
    const qreal ratio = devicePixelRatioF();
    const int factor = std::max(1, static_cast<int>(ratio));
    const QRectF target(0, 0, screen.Width() * factor / ratio, screen.Height() * factor / ratio);
    if (target.width() < width()) painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, frame);
    if (overlay) {
        painter.scale(target.width() / screen.Width(), target.height() / screen.Height());
        overlay(painter);
    }
}

void ChartViewWidget::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    // Ctrl+click in the track area plays from the time under the mouse.
    const ViewGeometry& g = view.geometry;
    if (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ControlModifier) && onPlayFrom &&
        at.x() >= g.margin && at.x() < g.ScrollX() && at.y() >= g.margin && at.y() < g.Bottom()) {
        onPlayFrom(view.TimeAt(at.y()));
        return;
    }
    editor.shiftHeld = event->modifiers() & Qt::ShiftModifier;
    if (event->button() == Qt::LeftButton) editor.LeftButtonDown(at.x(), at.y(), Playing());
    if (event->button() == Qt::RightButton) editor.RightButtonDown(at.x(), at.y());
    FollowRepeat();
}

void ChartViewWidget::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) editor.LeftButtonUp(at.x(), at.y());
    FollowRepeat();
}

void ChartViewWidget::mouseMoveEvent(QMouseEvent* event) {
    // Qt keeps sending moves to the widget the button went down on, even outside it, which is
    // the capture a drag needs.
    const QPoint at = event->position().toPoint();
    editor.MouseMove(at.x(), at.y());
    if (onHover) onHover(editor.NoteAt(at.x(), at.y()));
    FollowRepeat();
}

void ChartViewWidget::wheelEvent(QWheelEvent* event) {
    // Ctrl+wheel zooms about the time under the mouse: up brings the notes closer.
    if ((event->modifiers() & Qt::ControlModifier) && onZoom) {
        const int steps = event->angleDelta().y() / 120;
        if (steps != 0) onZoom(-steps, static_cast<int>(event->position().y()));
        event->accept();
        return;
    }
    editor.Wheel(event->angleDelta().y());
    event->accept();
}

void ChartViewWidget::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (onHelp) onHelp();
        return;
    }
    const EditorKey key = EditorKeyOf(event->key());
    if (key == EditorKey::Other) {
        QWidget::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers held = event->modifiers();
    editor.KeyDown(key,
                   {.ctrl = held.testFlag(Qt::ControlModifier),
                    .shift = held.testFlag(Qt::ShiftModifier),
                    .alt = held.testFlag(Qt::AltModifier)},
                   Playing());
    FollowRepeat();
}

void ChartViewWidget::keyReleaseEvent(QKeyEvent* event) {
    const EditorKey key = EditorKeyOf(event->key());
    if (key != EditorKey::Other && !event->isAutoRepeat()) editor.KeyUp(key);
}

bool ChartViewWidget::focusNextPrevChild(bool) {
    // Tab is not a way out of the view; the view keeps the keys.
    return false;
}

void ChartViewWidget::FollowRepeat() {
    if (editor.Repeating() && !repeatTimer.isActive()) repeatTimer.start();
    if (!editor.Repeating()) repeatTimer.stop();
}
