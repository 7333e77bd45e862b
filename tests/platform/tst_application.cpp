// SPDX-License-Identifier: MIT
// Running out of memory in an event handler is reported and the program goes
// on, instead of the exception leaving the event loop and ending it.

#include "platform/application.h"
#include "support/modalhelper.h"

#include <QTest>
#include <new>

namespace {
class Greedy : public QObject {
public:
    int handled = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        if (++handled == 1)
            throw std::bad_alloc();
        return true;
    }
};
} // namespace

class TestApplication : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void outOfMemoryInAHandlerIsReported()
    {
        Greedy greedy;
        testsupport::ModalAnswerer answerer;
        QEvent event(QEvent::User);
        QVERIFY(!QCoreApplication::sendEvent(&greedy, &event));
        // The box waits for the event loop: none is shown inside the failed delivery.
        QCOMPARE(answerer.records().size(), 0);
        QTRY_COMPARE(answerer.records().size(), 1);
        QCOMPARE(answerer.records().at(0).text, QStringLiteral("7: Out of memory"));
        QVERIFY(QCoreApplication::sendEvent(&greedy, &event));
        QCOMPARE(greedy.handled, 2);
    }
};

int main(int argc, char *argv[])
{
    platform::Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
