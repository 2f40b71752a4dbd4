// One quick, untimed run of every scenario of the benchmark program, over a
// tiny document it generates itself. Speed is the benchmark's to measure.

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestBench : public QObject
{
    Q_OBJECT

private slots:
    void everyScenarioRuns();
};

void TestBench::everyScenarioRuns()
{
    QTemporaryDir data;
    QVERIFY(data.isValid());
    QProcess bench;
    bench.setProcessChannelMode(QProcess::MergedChannels);
    bench.start(QStringLiteral(BENCH_PROGRAM),
                {QStringLiteral("report"), QStringLiteral("--data"), data.path(),
                 QStringLiteral("--sizes"), QStringLiteral("0.05"), QStringLiteral("--runs"),
                 QStringLiteral("1")});
    QVERIFY(bench.waitForFinished(300 * 1000));
    QVERIFY2(bench.exitStatus() == QProcess::NormalExit && bench.exitCode() == 0,
             bench.readAll().constData());
}

QTEST_GUILESS_MAIN(TestBench)
#include "tst_bench.moc"
