#pragma once

#include <QObject>

class QWidget;

namespace platform {

// Key preview for a window: reports each character typed into any of the window's
// widgets before the focused widget gets it. The key is never altered or swallowed.
class KeyPreview final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(KeyPreview)

public:
    explicit KeyPreview(QWidget *window);

signals:
    // The character code of the key, as a window's key-press event receives it.
    void keyPress(int charCode);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    // A key that a widget ignores travels on to its parents as the same event;
    // these two let it be reported once, at the first widget that receives it.
    const QEvent *m_lastKey = nullptr;
    const QWidget *m_lastReceiver = nullptr;
};

} // namespace platform
