#include "mosquitto_broker.h"

#include "loopback_port.h"
#include "program_run.h"

#include <QFile>
#include <QTest>

// Its configuration, and the certificate that the options ask for. Without anonymous clients
// and without a password file, it refuses every login.
bool MosquittoBroker::writeFiles(const Options &options)
{
    // Run as root, it would switch to the mosquitto user, which cannot read this directory.
    QString config = QStringLiteral("listener %1 127.0.0.1\nuser root\nallow_anonymous %2\n")
                         .arg(m_port)
                         .arg(options.refuseLogins ? "false" : "true");
    if (options.tls) {
        const QString key = m_dir.filePath(QStringLiteral("key.pem"));
        if (!QFile::exists(caFile()) &&
            runProgram("openssl",
                       {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                        "-nodes", "-days", "2", "-subj", "/CN=localhost", "-addext",
                        "subjectAltName=DNS:localhost,IP:127.0.0.1", "-keyout", key, "-out",
                        caFile()})
                    .exitCode != 0)
            return false;
        config += QStringLiteral("certfile %1\nkeyfile %2\n").arg(caFile(), key);
    }
    QFile file(m_dir.filePath(QStringLiteral("mosquitto.conf")));
    return file.open(QIODevice::WriteOnly) && file.write(config.toUtf8()) > 0;
}

bool MosquittoBroker::start(const Options &options)
{
    stop();
    if (m_port == 0)
        m_port = freeLoopbackPort();
    m_tls = options.tls;
    if (m_dir.isValid() && m_port != 0 && writeFiles(options)) {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(QStringLiteral("/usr/sbin/mosquitto"),
                        {QStringLiteral("-c"), m_dir.filePath(QStringLiteral("mosquitto.conf"))});
        if (QTest::qWaitFor([this] { return isListening(m_port); }))
            return true;
    }
    qWarning() << "mosquitto does not listen on port" << m_port
               << "(scripts/install-deps.sh installs it and openssl):" << log();
    stop();
    return false;
}

void MosquittoBroker::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    m_process.waitForFinished();
    log();
}

QString MosquittoBroker::host() const
{
    return m_tls ? QStringLiteral("localhost") : QStringLiteral("127.0.0.1");
}

QString MosquittoBroker::url(const QString &user) const
{
    return QStringLiteral("%1://%2%3:%4")
        .arg(m_tls ? QStringLiteral("mqtts") : QStringLiteral("mqtt"),
             user.isEmpty() ? QString() : user + QLatin1Char('@'), host())
        .arg(m_port);
}

QByteArray MosquittoBroker::log()
{
    m_log += m_process.readAll();
    return m_log;
}

QStringList MosquittoBroker::clientArguments() const
{
    const QStringList arguments{"-h", host(), "-p", QString::number(m_port)};
    return m_tls ? arguments + QStringList{"--cafile", caFile()} : arguments;
}

bool MosquittoBroker::publish(const QString &topic, const QByteArray &payload) const
{
    return runProgram("mosquitto_pub", clientArguments() + QStringList{"-t", topic, "-m",
                                                                       QString::fromUtf8(payload)})
               .exitCode == 0;
}

QByteArray MosquittoBroker::retained(const QString &topic) const
{
    // Retained messages come at once on subscribing; a second without one means none.
    return runProgram("mosquitto_sub",
                      clientArguments() + QStringList{"-t", topic, "--retained-only", "-C", "1",
                                                      "-W", "1", "-F", "%p"})
        .out.trimmed();
}

MqttWatch::MqttWatch(const MosquittoBroker &broker, const QString &filter)
{
    QObject::connect(&m_process, &QProcess::readyReadStandardOutput, [this] { take(); });
    m_process.start("mosquitto_sub",
                    broker.clientArguments() + QStringList{"-t", filter, "-F", "%t %p"});
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
