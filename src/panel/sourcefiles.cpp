#include "panel/sourcefiles.h"

#include "panel/mainwindow.h"
#include "platform/scripteditor.h"
#include "platform/scriptfile.h"
#include "platform/toolkiterror.h"

namespace panel {

namespace {
const QString kLoadGuard = QStringLiteral("NOTUSERFIRED");
}

void LoadSource(MainWindow &window, const QString &path)
{
    platform::ScriptEditor *editor = window.editor();
    editor->setTag(kLoadGuard);
    try {
        editor->setText(platform::readTextFile(path).text);
        editor->setTag(QString());
        SetStatus(QStringLiteral("Source code loaded. Waiting..."));
    } catch (const platform::ToolkitError &error) {
        editor->setTag(QString());
        if (error.number() == platform::ErrFileNotFound)
            SetStatus(QStringLiteral("Error loading source ") + path + QStringLiteral("."));
    }
}

} // namespace panel
