#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <optional>

class QEventLoop;
class QWidget;

namespace toolkit {

// What one control of an output window holds once the user is done: a text,
// or for a check box whether it is checked.
struct ControlValue {
    QString name; // as the script created the control
    QString text;
    std::optional<bool> checked;
};

// The values of the window's controls that hold one, in the order the script
// created them: a text box's text, a check box's mark, the selected entry of
// a list box (empty when none), the text a combo box shows, the root of the
// selected drive, the folder a folder list shows, the full path of the
// selected file of a file list (empty when none). Labels, frames, images and
// buttons hold none.
QList<ControlValue> controlValues(QWidget *window);

// The output window loaded last, or null when none is loaded.
QWidget *newestOutputWindow();

// An output window used as a dialog: every button of the window closes it,
// and so do Escape and the close box.
class OutputDialog : public QObject {
    Q_OBJECT
public:
    explicit OutputDialog(QWidget *window);

    // Shows the window when it is hidden and waits until it closes. Returns
    // the name of the button that closed it, or an empty text for Escape and
    // the close box. The window stays loaded, hidden, so that its values can
    // still be read.
    QString exec();

    // Answers the dialog as a user would, for tests that drive the program
    // from outside: clicks the button of that name, presses Escape
    // (":escape") or uses the close box (":close"). Returns false when the
    // window has no button of that name; it is then closed by the close box.
    bool answer(const QString &how);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void closeByButton(const QString &name);

    QPointer<QWidget> m_window;
    QString m_button;
    bool m_closed = false;
    QEventLoop *m_loop = nullptr;
};

// Writes a PNG picture of the window's client area, scale pixels of the
// picture per pixel of the window. Raises 380 for a picture larger than
// 67,108,864 pixels (256 MB) and 75 when the file cannot be written.
void saveClientAreaPicture(QWidget *window, double scale, const QString &pngPath);

} // namespace toolkit
