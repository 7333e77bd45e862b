// SPDX-License-Identifier: MIT
// A whole compile run on arbitrary script bytes, offscreen: the bytes become
// the script file, and a run, in step mode when the first byte is odd, builds
// what it can. Reports are recorded, never shown. Besides crashes, sanitizer
// reports and hangs, the harness stops when a run ends in anything other than
// success or exactly one report, or leaves a failed run's window behind.

#include "editor/scripteditor.h"
#include "files/textencoding.h"
#include "interpreter/compilesource.h"
#include "interpreter/runhost.h"
#include "toolkit/loadedwindows.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {
void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Shows nothing; the editor holds the script itself, so step pauses select
// in it as they would in the control panel.
class FuzzHost final : public interpreter::RunHost {
public:
    explicit FuzzHost(const QString &editor) { m_editor.setText(editor); }
    void setStatus(const QString &text) override { m_lastStatus = text; }
    std::optional<files::PlacedLine> editorLine(int lineNumber) const override
    {
        return m_editor.line(lineNumber - 1);
    }
    std::optional<files::PlacedLine> findInEditor(const QString &text, int from,
                                                     Qt::CaseSensitivity cs) const override
    {
        return m_editor.find(text, from, cs);
    }
    void selectInEditor(int start, int length) override
    {
        require(start >= 0 && length >= 0 && start + qint64(length) <= m_editor.textLength());
    }
    void focusEditor() override {}
    interpreter::StepAnswer stepPause() override { return interpreter::StepAnswer::NextLine; }
    void report(const interpreter::RunReport &) override { ++m_reports; }

    int reports() const { return m_reports; }
    const QString &lastStatus() const { return m_lastStatus; }

private:
    editing::ScriptEditor m_editor;
    QString m_lastStatus;
    int m_reports = 0;
};

struct Harness {
    Harness()
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_compilerun";
        static char *argv[] = {name, nullptr};
        app = new QApplication(argc, argv);
        script = folder.filePath(QStringLiteral("script.txt"));
    }
    QApplication *app = nullptr;
    QTemporaryDir folder;
    QString script;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static Harness harness;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QFile file(harness.script);
    require(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
    file.close();

    FuzzHost host(files::decodeText(bytes).text);
    const int stepFlag = size > 0 && (data[0] & 1) ? interpreter::CompileStepByStep : interpreter::CompileNormally;
    const qsizetype windowsBefore = toolkit::loadedWindows().size();
    interpreter::compileSource(harness.script, stepFlag, host);
    const bool succeeded = host.lastStatus() == QLatin1String("Compiled sucessfully...");
    require(succeeded ? host.reports() == 0 : host.reports() == 1);
    require(succeeded || toolkit::loadedWindows().size() == windowsBefore);

    for (QWidget *window : toolkit::loadedWindows())
        toolkit::unloadWindow(window);
    return 0;
}
