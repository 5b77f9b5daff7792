// The Debian package as apt would get it: built by CPack from this build tree, then read back
// with dpkg-deb and judged by lintian and desktop-file-validate.
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Outcome {
    int exitCode = -1;
    QString output; // standard output and error together
};

Outcome run(const QString &program, const QStringList &arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {-1, QStringLiteral("%1 did not finish: %2").arg(program, process.errorString())};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromUtf8(process.readAll())};
}

bool installed(const QString &tool)
{
    return !QStandardPaths::findExecutable(tool).isEmpty();
}

} // namespace

class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void packageIsNamedForItsVersionAndArchitecture();
    void packageHoldsTheProgramsAndTheirDesktopFiles_data();
    void packageHoldsTheProgramsAndTheirDesktopFiles();
    void dependsNamesQtLibrariesAndTheJapaneseFonts_data();
    void dependsNamesQtLibrariesAndTheJapaneseFonts();
    void controlFieldsDescribeThePackage_data();
    void controlFieldsDescribeThePackage();
    void descriptionHasItsSynopsisAboveAnExtendedText();
    void desktopEntryIsValidAndCarriesTheWindowTitle();
    void iconsAreSquareAtTheSizeTheirFolderNames_data();
    void iconsAreSquareAtTheSizeTheirFolderNames();
    void lintianFindsNoErrors();

private:
    QString field(const QString &name) const;

    QTemporaryDir m_work;
    QString m_package;
    QStringList m_contents; // paths without the leading "./"
    QMap<QString, QString> m_modes;
    QString m_unpacked;
};

void TestPackage::initTestCase()
{
    QVERIFY(m_work.isValid());
    const Outcome cpack = run(
        QStringLiteral(ZRA70_CPACK),
        {"-G", "DEB", "--config", QStringLiteral(ZRA70_CPACK_CONFIG), "-B", m_work.path()}, 240000);
    QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.output));

    const QStringList debs = QDir(m_work.path()).entryList({"*.deb"}, QDir::Files);
    QCOMPARE(debs.size(), 1);
    m_package = m_work.filePath(debs.first());

    const Outcome listing = run("dpkg-deb", {"--contents", m_package});
    QVERIFY2(listing.exitCode == 0, qPrintable(listing.output));
    // "-rwxr-xr-x root/root   123456 2026-01-01 00:00 ./usr/bin/zra70-panel"
    static const QRegularExpression line(
        QStringLiteral("^(\\S+)\\s+\\S+\\s+\\d+\\s+\\S+\\s+\\S+\\s+"
                       "\\./(\\S+?)(?: -> .*)?$"));
    for (const QString &entry : listing.output.split('\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = line.match(entry);
        QVERIFY2(match.hasMatch(), qPrintable(entry));
        m_contents << match.captured(2);
        m_modes.insert(match.captured(2), match.captured(1));
    }

    m_unpacked = m_work.filePath(QStringLiteral("root"));
    const Outcome unpack = run("dpkg-deb", {"--extract", m_package, m_unpacked});
    QVERIFY2(unpack.exitCode == 0, qPrintable(unpack.output));
}

QString TestPackage::field(const QString &name) const
{
    return run("dpkg-deb", {"--field", m_package, name}).output.trimmed();
}

void TestPackage::packageIsNamedForItsVersionAndArchitecture()
{
    const QString architecture = run("dpkg", {"--print-architecture"}).output.trimmed();
    QCOMPARE(QFileInfo(m_package).fileName(),
             QStringLiteral("zra70-panel_1.40_%1.deb").arg(architecture));
}

void TestPackage::packageHoldsTheProgramsAndTheirDesktopFiles_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("mode");
    // The icons are checked below; lintian checks the copyright file and the changelog.
    QTest::newRow("panel") << "usr/bin/zra70-panel"
                           << "-rwxr-xr-x";
    QTest::newRow("simulator") << "usr/bin/zra70-sim"
                               << "-rwxr-xr-x";
    QTest::newRow("desktop entry") << "usr/share/applications/zra70-panel.desktop"
                                   << "-rw-r--r--";
    QTest::newRow("README") << "usr/share/doc/zra70-panel/README.md"
                            << "-rw-r--r--";
}

void TestPackage::packageHoldsTheProgramsAndTheirDesktopFiles()
{
    QFETCH(QString, path);
    QFETCH(QString, mode);
    QVERIFY2(m_contents.contains(path), qPrintable(m_contents.join('\n')));
    QCOMPARE(m_modes.value(path), mode);
}

void TestPackage::dependsNamesQtLibrariesAndTheJapaneseFonts_data()
{
    QTest::addColumn<QString>("package");
    QTest::newRow("Qt Widgets") << "libqt6widgets6";
    QTest::newRow("Qt Serial Port") << "libqt6serialport6";
    QTest::newRow("Qt Core, for the simulator too") << "libqt6core6";
    QTest::newRow("IPA Gothic for the G and PG fonts") << "fonts-ipafont-gothic";
}

void TestPackage::dependsNamesQtLibrariesAndTheJapaneseFonts()
{
    QFETCH(QString, package);
    // "libc6 (>= 2.34), libqt6core6 (>= 6.4.0), ..." with alternatives split on "|".
    QStringList names;
    static const QRegularExpression separator(QStringLiteral("[,|]"));
    for (const QString &item : field("Depends").split(separator, Qt::SkipEmptyParts))
        names << item.trimmed().section(' ', 0, 0);
    QVERIFY2(names.contains(package), qPrintable(names.join(", ")));
}

void TestPackage::controlFieldsDescribeThePackage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("section") << "Section"
                             << "electronics";
}

void TestPackage::controlFieldsDescribeThePackage()
{
    QFETCH(QString, name);
    QFETCH(QString, value);
    QCOMPARE(field(name), value);
}

void TestPackage::descriptionHasItsSynopsisAboveAnExtendedText()
{
    // Lintian checks the maintainer's form; the synopsis is the text a user sees in apt.
    const QStringList description = field("Description").split('\n');
    QCOMPARE(description.value(0), "control panel for ZRA70 series data projectors");
    QVERIFY(description.size() > 2);
}

void TestPackage::desktopEntryIsValidAndCarriesTheWindowTitle()
{
    const QString entry =
        m_unpacked + QStringLiteral("/usr/share/applications/zra70-panel.desktop");
    QFile file(entry);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    QVERIFY(lines.contains("Name=TAVO   ZRA70_20  CONTROL   Ver.1.40"));
    QVERIFY(lines.contains("Exec=zra70-panel"));
    QVERIFY(lines.contains("Icon=zra70-panel"));
    QVERIFY(lines.contains("Type=Application"));

    if (!installed("desktop-file-validate"))
        QSKIP("desktop-file-validate is not installed (package desktop-file-utils)");
    const Outcome validation = run("desktop-file-validate", {entry});
    QVERIFY2(validation.exitCode == 0 && validation.output.isEmpty(),
             qPrintable(validation.output));
}

void TestPackage::iconsAreSquareAtTheSizeTheirFolderNames_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void TestPackage::iconsAreSquareAtTheSizeTheirFolderNames()
{
    QFETCH(int, size);
    const QString icon = m_unpacked + QStringLiteral("/usr/share/icons/hicolor/%1x%1/apps/"
                                                     "zra70-panel.png")
                                          .arg(size);
    QImageReader reader(icon);
    QCOMPARE(reader.format(), QByteArray("png"));
    QCOMPARE(reader.size(), QSize(size, size));
}

void TestPackage::lintianFindsNoErrors()
{
    if (!installed("lintian"))
        QSKIP("lintian is not installed");
    const Outcome lintian = run("lintian", {"--fail-on", "error", m_package}, 240000);
    if (!lintian.output.isEmpty())
        qInfo().noquote() << "lintian:\n" << lintian.output;
    QVERIFY2(lintian.exitCode == 0, qPrintable(lintian.output));
    QVERIFY(!lintian.output.contains(
        QRegularExpression(QStringLiteral("^E: "), QRegularExpression::MultilineOption)));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "test_package.moc"
