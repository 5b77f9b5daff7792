#include "mosquitto_broker.h"

#include "loopback_port.h"
#include "program_run.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>
#include <QThread>

namespace {

const QString Broker = QStringLiteral("/usr/sbin/mosquitto");

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

} // namespace

bool MosquittoBroker::writeFiles(const Options &options, QString *error)
{
    QString config = QStringLiteral("listener %1 127.0.0.1\n").arg(m_port);
    // Run as root, it would switch to the mosquitto user, which cannot read this directory.
    config += QStringLiteral("user root\n");
    if (options.user.isEmpty()) {
        config += QStringLiteral("allow_anonymous true\n");
    } else {
        const QString passwords = m_dir.filePath(QStringLiteral("passwords"));
        QFile::remove(passwords);
        if (runProgram(QStringLiteral("mosquitto_passwd"),
                       {QStringLiteral("-c"), QStringLiteral("-b"), passwords, options.user,
                        options.password})
                .exitCode != 0) {
            *error = QStringLiteral("mosquitto_passwd failed");
            return false;
        }
        config += QStringLiteral("allow_anonymous false\npassword_file %1\n").arg(passwords);
    }
    if (options.tls) {
        const QString key = m_dir.filePath(QStringLiteral("key.pem"));
        if (!QFile::exists(caFile()) &&
            runProgram(QStringLiteral("openssl"),
                       {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                        "-nodes", "-days", "2", "-subj", "/CN=localhost", "-addext",
                        "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout", key, "-out",
                        caFile()})
                    .exitCode != 0) {
            *error = QStringLiteral("openssl could not make a certificate");
            return false;
        }
        config += QStringLiteral("certfile %1\nkeyfile %2\n").arg(caFile(), key);
    }
    if (!writeText(m_dir.filePath(QStringLiteral("mosquitto.conf")), config)) {
        *error = QStringLiteral("cannot write the broker's configuration");
        return false;
    }
    return true;
}

bool MosquittoBroker::start(const Options &options, QString *error)
{
    stop();
    if (m_port == 0)
        m_port = freeLoopbackPort();
    m_tls = options.tls;
    if (!m_dir.isValid() || m_port == 0 || !writeFiles(options, error))
        return false;
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(Broker,
                    {QStringLiteral("-c"), m_dir.filePath(QStringLiteral("mosquitto.conf"))});
    const QDeadlineTimer deadline(5000);
    while (!isListening(m_port)) {
        if (deadline.hasExpired() || m_process.state() == QProcess::NotRunning) {
            *error = QStringLiteral("mosquitto does not listen on port %1 (scripts/install-deps.sh "
                                    "installs it): %2")
                         .arg(QString::number(m_port), QString::fromLocal8Bit(log()));
            stop();
            return false;
        }
        QThread::msleep(10);
    }
    return true;
}

void MosquittoBroker::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
    log();
}

QString MosquittoBroker::url(const QString &user) const
{
    return QStringLiteral("%1://%2%3:%4")
        .arg(m_tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt"),
             user.isEmpty() ? QString() : user + QLatin1Char('@'),
             m_tls ? QStringLiteral("localhost") : QStringLiteral("127.0.0.1"))
        .arg(m_port);
}

QByteArray MosquittoBroker::log()
{
    m_log += m_process.readAll();
    return m_log;
}

QStringList MosquittoBroker::clientArguments() const
{
    QStringList arguments{QStringLiteral("-h"),
                          m_tls ? QStringLiteral("localhost") : QStringLiteral("127.0.0.1"),
                          QStringLiteral("-p"), QString::number(m_port)};
    if (m_tls)
        arguments << QStringLiteral("--cafile") << caFile();
    return arguments;
}

bool MosquittoBroker::publish(const QString &topic, const QByteArray &payload) const
{
    return runProgram(QStringLiteral("mosquitto_pub"),
                      clientArguments() << QStringLiteral("-t") << topic << QStringLiteral("-m")
                                        << QString::fromUtf8(payload))
               .exitCode == 0;
}

QByteArray MosquittoBroker::retained(const QString &topic) const
{
    // Retained messages come at once on subscribing; a second without one means none.
    const ProgramRun run = runProgram(
        QStringLiteral("mosquitto_sub"),
        clientArguments() << QStringLiteral("-t") << topic << QStringLiteral("--retained-only")
                          << QStringLiteral("-C") << QStringLiteral("1") << QStringLiteral("-W")
                          << QStringLiteral("1") << QStringLiteral("-F") << QStringLiteral("%p"));
    return run.out.trimmed();
}

MqttWatch::MqttWatch(const MosquittoBroker &broker, const QString &filter)
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { take(); });
    m_process.start(QStringLiteral("mosquitto_sub"),
                    broker.clientArguments() << QStringLiteral("-t") << filter
                                             << QStringLiteral("-F") << QStringLiteral("%t %p"));
}

MqttWatch::~MqttWatch()
{
    m_process.kill();
    m_process.waitForFinished();
}

void MqttWatch::take()
{
    while (m_process.canReadLine()) {
        const QByteArray line = m_process.readLine().chopped(1);
        const qsizetype space = line.indexOf(' ');
        m_payloads[QString::fromUtf8(line.left(space))].append(line.mid(space + 1));
    }
}

bool MqttWatch::waitFor(const QString &topic, const QByteArray &payload, int timeoutMs)
{
    return QTest::qWaitFor([&] { return m_payloads.value(topic).contains(payload); }, timeoutMs);
}

QList<QByteArray> MqttWatch::payloads(const QString &topic)
{
    take();
    return m_payloads.value(topic);
}

QStringList MqttWatch::topics()
{
    take();
    return m_payloads.keys();
}

QByteArray MqttWatch::last(const QString &topic)
{
    const QList<QByteArray> all = payloads(topic);
    return all.isEmpty() ? QByteArray() : all.last();
}
