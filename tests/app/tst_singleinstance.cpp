// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulatorprocess.h"

#include <qtsingleapplication.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// Runs the real program: a second start ends with -1 while the first runs, and a start
// after the first was killed succeeds. Everything stays on loopback and offscreen.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void secondStartEndsWhileFirstRuns();
    void startAfterKilledInstanceSucceeds();
    void smallScreenDeclinedEndsWithMinusOne();

private:
    std::unique_ptr<QProcess> startProgram(const QString &platform = {});
    bool waitUntilAnswering(QProcess &program, int timeoutMs = 30000);
    QString socketPath() const;

    SimulatorProcess m_simulator;
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_screenConfig;
    QList<QProcess *> m_programs;
};

void TestSingleInstance::initTestCase()
{
    QVERIFY(m_simulator.start(
        {QStringLiteral("--count"), QStringLiteral("3"), QStringLiteral("--seed"), QStringLiteral("5")}));
}

void TestSingleInstance::init()
{
    // A temporary folder of its own holds the instance socket and lock, so a program that
    // someone else runs on this machine cannot meet these ones.
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    m_screenConfig = m_tmp->filePath(QStringLiteral("screen.json"));
    QFile config(m_screenConfig);
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(R"({"screens":[{"name":"s0","x":0,"y":0,"width":1280,"height":800,)"
                 R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
}

void TestSingleInstance::cleanup()
{
    for (QProcess *program : std::as_const(m_programs)) {
        if (program->state() != QProcess::NotRunning) {
            program->kill();
            program->waitForFinished(5000);
        }
        delete program;
    }
    m_programs.clear();
    m_tmp.reset();
}

std::unique_ptr<QProcess> TestSingleInstance::startProgram(const QString &platform)
{
    auto program = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback"));
    env.insert(QStringLiteral("VEXO_PORT"), QString::number(m_simulator.port()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"),
               platform.isEmpty() ? QStringLiteral("offscreen:configfile=") + m_screenConfig : platform);
    env.insert(QStringLiteral("TMPDIR"), m_tmp->path());
    env.insert(QStringLiteral("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS"), QStringLiteral("300"));
    program->setProcessEnvironment(env);
    program->start(SimulatorProcess::toolPath(QStringLiteral("vexotool")), {});
    return program;
}

QString TestSingleInstance::socketPath() const
{
    return m_tmp->filePath(SharedTools::QtSingleApplication::serverName(QStringLiteral("400VEXOTool")));
}

bool TestSingleInstance::waitUntilAnswering(QProcess &program, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired() && program.state() != QProcess::NotRunning) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(200))
            return true;
        QTest::qWait(50);
    }
    return false;
}

void TestSingleInstance::secondStartEndsWhileFirstRuns()
{
    std::unique_ptr<QProcess> first = startProgram();
    m_programs.append(first.get());
    QProcess &firstRef = *first.release();
    QVERIFY(firstRef.waitForStarted());
    QVERIFY(waitUntilAnswering(firstRef));

    std::unique_ptr<QProcess> second = startProgram();
    QVERIFY(second->waitForFinished(30000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 255); // main returned -1
    QVERIFY2(second->readAllStandardError().contains("VEXO Tool is already running."), "no already-running message");

    QCOMPARE(firstRef.state(), QProcess::Running); // neither raised nor told to quit
}

void TestSingleInstance::startAfterKilledInstanceSucceeds()
{
    auto *first = startProgram().release();
    m_programs.append(first);
    QVERIFY(waitUntilAnswering(*first));
    first->kill(); // SIGKILL: nothing is cleaned up
    QVERIFY(first->waitForFinished(5000));
    QVERIFY2(QFile::exists(socketPath()), "the killed instance should leave its socket behind");

    auto *next = startProgram().release();
    m_programs.append(next);
    QVERIFY(waitUntilAnswering(*next));
    QTest::qWait(300);
    QCOMPARE(next->state(), QProcess::Running);
    QVERIFY(!next->readAllStandardError().contains("already running"));
}

void TestSingleInstance::smallScreenDeclinedEndsWithMinusOne()
{
    // The plain offscreen screen is 800 x 600: the program asks, the answer is no.
    std::unique_ptr<QProcess> program = startProgram(QStringLiteral("offscreen"));
    QVERIFY(program->waitForFinished(30000));
    QCOMPARE(program->exitCode(), 255);
    QVERIFY(program->readAllStandardError().contains("The screen is smaller than 1024"));
}

QTEST_GUILESS_MAIN(TestSingleInstance)

#include "tst_singleinstance.moc"
