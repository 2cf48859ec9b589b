#pragma once
// ChartViewWidget: the main window's view. It paints the chart view's back buffer pixel for
// pixel (on high-density screens scaled by a whole factor without smoothing), forwards the
// mouse, wheel and keys to the note editor, and drives the repeating scrolls from a timer so
// the event loop never blocks. Keys reach the editor here and nowhere else: the menus only
// show their shortcut texts.

#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "editor/DrawScreen.h"
#include "editor/NoteEditor.h"

class ChartViewWidget : public QWidget {
    Q_OBJECT

  public:
    ChartViewWidget(ChartView& view, NoteEditor& editor, QWidget* parent = nullptr);

    // The key that opens the help (not a view key).
    std::function<void()> onHelp;
    // Whether playback runs (presses then start nothing).
    std::function<bool()> isPlaying;
    // The mouse moved over a note (its details) or off every note (empty).
    std::function<void(const std::optional<NoteEditor::Hovered>&)> onHover;
    // Ctrl+wheel: the note interval changes by `steps` (negative: zoom in) about height `y`.
    std::function<void(int steps, int y)> onZoom;
    // Ctrl+click in the track area: play from that time (chart ticks).
    std::function<void(int32_t)> onPlayFrom;
    // Drawn over the frame, in the view's own pixels (test-play's judgement line and scores).
    std::function<void(QPainter&)> overlay;

    // The last frame painted (tests look at it).
    const DrawScreen& Screen() const { return screen; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    // After every event: keep the repeat timer running exactly while the editor repeats.
    void FollowRepeat();
    bool Playing() const { return isPlaying && isPlaying(); }

    ChartView& view;
    NoteEditor& editor;
    DrawScreen screen;
    QTimer repeatTimer;
};

// The editor's name for a Qt key, or EditorKey::Other.
EditorKey EditorKeyOf(int qtKey);
