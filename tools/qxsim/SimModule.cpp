#include "SimModule.h"

namespace {

const QByteArray kOk = "OK\r\n";
const QByteArray kError = "ERROR\r\n";

// GPIO behind IO pins 1..8.
constexpr std::array<int, 8> kGpioOfPin = {16, 14, 12, 13, 15, 2, 0, 4};

SimAnswer ack(const QByteArray &text)
{
    return {SimAnswer::Kind::Ack, text, nullptr, {}};
}

SimAnswer status(const QByteArray &text)
{
    return {SimAnswer::Kind::Status, text, nullptr, {}};
}

SimAnswer refused()
{
    return {SimAnswer::Kind::Refused, kError, nullptr, {}};
}

// Factory MACs carry the low 24 bits of the module ID, so modules in one run differ.
QByteArray factoryMac(const QByteArray &vendorPrefix, const QByteArray &id)
{
    const quint32 low = static_cast<quint32>(id.toULongLong() & 0xFFFFFF);
    QByteArray mac = vendorPrefix;
    for (int shift = 16; shift >= 0; shift -= 8)
        mac += ':' + QByteArray::number((low >> shift) & 0xFF, 16).rightJustified(2, '0');
    return mac;
}

} // namespace

SimModule::SimModule(const ModuleIdentity &factoryIdentity, bool failAll)
    : m_factory(factoryIdentity), m_failAll(failAll)
{
    restoreFactory();
}

void SimModule::restoreFactory()
{
    m_values.clear();
    for (const ParameterSpec &parameter : parameterTable())
        m_values.insert(parameter.name, factoryValues(parameter));
    m_values["DEVID"] = {m_factory.id};
    m_values["ZONE"] = {m_factory.zone};
    m_values["STAMAC"] = {factoryMac("5c:cf:7f", m_factory.id)};
    m_values["APMAC"] = {factoryMac("5e:cf:7f", m_factory.id)};
    m_pins.fill(Pin{});
}

QByteArray SimModule::id() const
{
    return m_values.value("DEVID").value(0);
}

QByteArray SimModule::zone() const
{
    return m_values.value("ZONE").value(0);
}

QByteArray SimModule::stationMac() const
{
    return m_values.value("STAMAC").value(0);
}

QByteArray SimModule::remoteList(const ParameterSpec &parameter) const
{
    return formatRemoteList(parameter, m_values.value(parameter.name));
}

SimAnswer SimModule::execute(const QByteArray &command)
{
    if (command == "+++")
        return ack("AT MODE\r\n");
    if (command == "AT")
        return ack(kOk);
    if (!command.startsWith("AT+"))
        return refused();

    const QByteArray body = command.mid(3);
    const int equals = body.indexOf('=');
    const QByteArray name = equals < 0 ? body : body.left(equals);
    if (equals < 0) {
        if (name == "++") // into data mode
            return ack(kOk);
        return runOperation(name);
    }
    const QByteArray value = body.mid(equals + 1);
    if (name == "IOCTR")
        return m_failAll ? refused() : runIo(value);
    if (const ParameterSpec *parameter = findParameter(name))
        return m_failAll ? refused() : runParameter(*parameter, value);
    return refused();
}

SimAnswer SimModule::runParameter(const ParameterSpec &parameter, const QByteArray &value)
{
    if (value == "?") {
        const QByteArray answer = formatQueryAnswer(parameter, m_values.value(parameter.name)) + "\r\n";
        return {SimAnswer::Kind::Query, answer, &parameter, {}};
    }
    ParameterValues accepted;
    if (!parseSetValue(parameter, value, accepted))
        return refused();
    m_values.insert(parameter.name, accepted);
    return ack(kOk);
}

SimAnswer SimModule::runIo(const QByteArray &value)
{
    // The body comes twice; the second copy guards against a garbled line.
    if (value.size() != 10 || value.left(5) != value.mid(5))
        return refused();
    const char mode = value.at(0);
    const char pull = value.at(1);
    const char operation = value.at(2);
    const char pinDigit = value.at(3);
    const char level = value.at(4);
    if ((mode != 'I' && mode != 'O' && mode != 'N') || (pull != 'U' && pull != 'F') || pinDigit < '1' ||
        pinDigit > '8')
        return refused();
    const int index = pinDigit - '1';
    Pin &pin = m_pins[static_cast<size_t>(index)];
    QByteArray text;
    if (operation == 'W') {
        if (level != '0' && level != '1')
            return refused();
        pin = {mode, pull, level};
        text = kOk;
    } else if (operation == 'R') {
        if (level != 'N')
            return refused();
        // Name, separator, level: the level is always the sixth character.
        text = "IO" + QByteArray::number(kGpioOfPin[static_cast<size_t>(index)]).rightJustified(2, '0') +
               ':' + pin.level + "\r\n";
    } else {
        return refused();
    }
    const QByteArray reply = QByteArray() + pin.mode + pin.pull + 'B' + pinDigit + pin.level;
    return {SimAnswer::Kind::Io, text, nullptr, reply};
}

SimAnswer SimModule::runOperation(const QByteArray &name)
{
    if (name == "RST" || name == "SMARTC")
        return ack(kOk);
    if (name == "RESTORE") {
        restoreFactory();
        return ack(kOk);
    }
    if (name == "MEMINF")
        return status("FREE HEAP:38712 bytes\r\n");
    if (name == "LSSTAINF")
        return status("5c:cf:7f:a1:b2:c3,192.168.4.2\r\n"
                      "18:fe:34:d4:e5:f6,192.168.4.3\r\n");
    if (name == "LSAPINF")
        return status("+LSAPINF:(3,\"HomeNet\",-58,\"c8:3a:35:10:20:30\",6)\r\n"
                      "+LSAPINF:(4,\"Office-2G\",-71,\"14:cc:20:44:55:66\",11)\r\n"
                      "+LSAPINF:(0,\"GuestOpen\",-83,\"00:1d:7e:77:88:99\",1)\r\n");
    if (name == "CLIENTLINK")
        return status(m_values.value("CONNREMOTE").value(0) == "1" ? "connected\r\n" : "unconnected\r\n");
    if (name == "WIFISTATE")
        return status("GOT_IP\r\n");
    if (name == "CURRENTSTAIP")
        return status('"' + m_values.value("STATIONIP").value(0) + "\"\r\n");
    if (name == "QXVERSION")
        return status("QX5120 V1.3.7\r\n");
    return refused();
}
