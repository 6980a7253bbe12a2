// What start-up writes on standard error beside its message box when it cannot
// go on with a printer, seen from outside: the start runs in a process of its own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct Started {
    QString boxes;    // the probe's standard output: each box, then how the start ended
    QString reasons;  // the program's own lines on standard error
};

// Runs the start on the registry `registry` (which need not exist), with the settings store in
// `settings` under `dir`.
Started Start(const QTemporaryDir& dir, const QString& registry,
              const QString& settings = "settings") {
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RNTOOLS_PRINTERS", registry);
    probe.setProcessEnvironment(env);
    probe.start(QCoreApplication::applicationDirPath() + "/startup_probe",
                {dir.filePath(settings)});
    if (!probe.waitForFinished(60000)) {
        probe.kill();
        probe.waitForFinished(5000);
        ADD_FAILURE() << "the start did not end";
    }
    Started started{QString::fromLocal8Bit(probe.readAllStandardOutput()), {}};
    // Qt's own warnings may stand there too; only the program's lines count.
    for (const QString& line : QString::fromLocal8Bit(probe.readAllStandardError()).split('\n')) {
        if (line.startsWith("RN-Tools: ")) started.reasons += line + '\n';
    }
    return started;
}

void Write(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

TEST(StartupReasonsTest, AStartThatCannotGoOnSaysWhyOnStandardError) {
    QTemporaryDir dir;
    const QString folder = dir.filePath("folder.ini");
    const QString pipe = dir.filePath("pipe.ini");
    const QString none = dir.filePath("none.ini");
    const QString unusable = dir.filePath("unusable.ini");
    const QString longPort = dir.filePath("long.ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    Write(unusable, "[Offline]\nPort=EMU1:\nWorkOffline=1\n[One way]\nPort=EMU2:\nEnableBidi=0\n");
    Write(longPort, "[Photo Printer]\nPort=/dev/" + QByteArray(251, 'x') + "\n");

    const QString notInstalled = "box [RN-Tools] JM Printer is not installed.\nprogram ended\n";
    struct Case {
        QString registry;
        QString boxes;
        QString reasons;
    };
    const Case cases[] = {
        {folder, notInstalled,
         "RN-Tools: The printer list " + folder + " cannot be read: it is a folder.\n"},
        {pipe, notInstalled,
         "RN-Tools: The printer list " + pipe + " cannot be read: it is not a regular file.\n"},
        {unusable,
         "box [RN-Tools] A usable printer is not connected or the power is not on.\n"
         "main window shown\n",
         "RN-Tools: No usable printer in " + unusable +
             ": \"Offline\" is set to work offline; \"One way\" has no bidirectional support.\n"},
        {longPort, "box [RN-Tools] Error!\nprogram ended\n",
         "RN-Tools: The port name of \"Photo Printer\" has 256 characters; the status library "
         "takes port names of at most 255.\n"},
        {none, "main window shown\n", ""},  // the emulated printer: nothing to say
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.registry.toStdString());
        const Started started = Start(dir, c.registry);
        EXPECT_EQ(started.boxes, c.boxes);
        EXPECT_EQ(started.reasons, c.reasons);
    }

    // A stored placement that is no number ends the load as any other failure does.
    ASSERT_TRUE(QDir().mkpath(dir.filePath("bad")));
    Write(dir.filePath("bad/RN-Tools.ini"), "[Settings]\nMainWidth=wide\n");
    const Started badPlacement = Start(dir, none, "bad");
    EXPECT_EQ(badPlacement.boxes, notInstalled);
    EXPECT_EQ(badPlacement.reasons, "RN-Tools: The window placement MainWidth in " +
                                        dir.filePath("bad/RN-Tools.ini") +
                                        " cannot be taken: \"wide\" is not a number.\n");
}

}  // namespace
