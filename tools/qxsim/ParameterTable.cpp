#include "ParameterTable.h"

#include <utility>

namespace {

constexpr int kAnyNumber = 65535;

constexpr FieldSpec integer(int min, int max, int key, const char *factory)
{
    return {FieldKind::Int, min, max, false, key, RemoteForm::AsStored, factory};
}

constexpr FieldSpec text(int minLength, int maxLength, bool quoted, int key, const char *factory)
{
    return {FieldKind::Text, minLength, maxLength, quoted, key, RemoteForm::AsStored, factory};
}

constexpr FieldSpec address(int key, const char *factory)
{
    return {FieldKind::Ip, 0, 0, true, key, RemoteForm::AsStored, factory};
}

constexpr FieldSpec mac(const char *factory)
{
    return {FieldKind::Mac, 0, 0, true, 0, RemoteForm::AsStored, factory};
}

constexpr FieldSpec digits(int count, int key, const char *factory)
{
    return {FieldKind::Digits, count, count, false, key, RemoteForm::AsStored, factory};
}

// WPA needs a passphrase of 8 to 64 characters; an open AP takes any.
bool apPasswordFitsAuthentication(const ParameterValues &values)
{
    const int length = values.at(1).size();
    return values.at(3) == "0" || (length >= 8 && length <= 64);
}

const QList<QByteArray> &baudRates()
{
    static const QList<QByteArray> rates = {"300",    "600",    "1200",    "2400",   "4800",   "9600",
                                            "19200",  "38400",  "57600",   "74880",  "115200", "230400",
                                            "460800", "921600", "1843200", "2686400"};
    return rates;
}

bool isDigits(const QByteArray &value)
{
    if (value.isEmpty())
        return false;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

bool isHexPair(const QByteArray &pair)
{
    if (pair.size() != 2)
        return false;
    for (const char c : pair) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex)
            return false;
    }
    return true;
}

bool isIpv4(const QByteArray &value)
{
    const QList<QByteArray> parts = value.split('.');
    if (parts.size() != 4)
        return false;
    for (const QByteArray &part : parts) {
        if (!isDigits(part) || part.size() > 3 || part.toInt() > 255)
            return false;
    }
    return true;
}

// Checks one field and brings it to its stored form.
bool acceptField(const FieldSpec &field, QByteArray &value)
{
    switch (field.kind) {
    case FieldKind::Int: {
        if (!isDigits(value) || value.size() > 9)
            return false;
        const int number = value.toInt();
        if (number < field.min || number > field.max)
            return false;
        value = QByteArray::number(number);
        return true;
    }
    case FieldKind::Text:
        if (value.size() < field.min || value.size() > field.max)
            return false;
        for (const char c : std::as_const(value)) {
            if (static_cast<unsigned char>(c) < 0x20 || (field.quoted && c == '"'))
                return false;
        }
        return true;
    case FieldKind::Ip:
        return isIpv4(value);
    case FieldKind::Mac: {
        const QList<QByteArray> pairs = value.split(':');
        if (pairs.size() != 6)
            return false;
        for (const QByteArray &pair : pairs) {
            if (!isHexPair(pair))
                return false;
        }
        value = value.toLower();
        return true;
    }
    case FieldKind::Digits:
        return isDigits(value) && value.size() == field.min;
    case FieldKind::Baud:
        return baudRates().contains(value);
    }
    return false;
}

// Comma list in which a field may be wrapped in double quotes; a quoted field may hold commas.
bool splitFields(const QByteArray &value, ParameterValues &fields)
{
    int at = 0;
    for (;;) {
        if (at < value.size() && value.at(at) == '"') {
            const int close = value.indexOf('"', at + 1);
            if (close < 0)
                return false;
            fields.append(value.mid(at + 1, close - at - 1));
            at = close + 1;
            if (at == value.size())
                return true;
            if (value.at(at) != ',')
                return false;
            ++at;
        } else {
            const int comma = value.indexOf(',', at);
            if (comma < 0) {
                fields.append(value.mid(at));
                return true;
            }
            fields.append(value.mid(at, comma - at));
            at = comma + 1;
        }
    }
}

QByteArray remoteValue(const FieldSpec &field, const QByteArray &stored)
{
    if (field.remoteForm == RemoteForm::StopBitsItem) {
        if (stored == "2")
            return "1.5";
        if (stored == "3")
            return "2";
        return "1";
    }
    return stored;
}

} // namespace

const std::vector<ParameterSpec> &parameterTable()
{
    // Factory values of DEVID, ZONE and the MACs depend on the module; SimModule fills them in.
    static const std::vector<ParameterSpec> table = {
        {"WIFIMODE", {integer(1, 3, 1, "2")}, nullptr},
        {"DHCP", {integer(0, 3, 24, "0")}, nullptr},
        {"APINF",
         {text(1, 32, true, 4, "QX5120_AP"), text(0, 64, true, 5, "12345678"), integer(1, 16, 9, "6"),
          integer(0, 3, 0, "1"), integer(1, 8, 0, "4")},
         apPasswordFitsAuthentication},
        {"APIP",
         {address(6, "192.168.4.1"), address(7, "255.255.255.0"), address(8, "192.168.4.1")},
         nullptr},
        {"APMAC", {mac("5e:cf:7f:01:02:03")}, nullptr},
        {"STACONFIG", {text(1, 32, true, 2, "HomeNet"), text(0, 64, true, 3, "homepass")}, nullptr},
        {"STATIONIP",
         {address(25, "192.168.1.100"), address(26, "255.255.255.0"), address(27, "192.168.1.1")},
         nullptr},
        {"STAMAC", {mac("5c:cf:7f:01:02:03")}, nullptr},
        {"NAME", {text(1, 32, false, 0, "admin")}, nullptr},
        {"PWD", {text(1, 32, false, 0, "admin")}, nullptr},
        {"httpserver", {text(1, 128, false, 0, "http://www.example.com/qx5120")}, nullptr},
        {"PTHPORT", {integer(1, 65535, 16, "8899")}, nullptr},
        {"REMOTEIP", {text(1, 64, false, 14, "192.168.1.10")}, nullptr},
        {"REMOTEPORT", {integer(1, 65535, 15, "9500")}, nullptr},
        {"TRANTYPE", {integer(0, 1, 0, "0")}, nullptr},
        {"SINGELEN", {integer(0, 1, 11, "1")}, nullptr},
        {"HEARTBEATT", {integer(0, kAnyNumber, 23, "120")}, nullptr},
        {"DEVID", {digits(11, 20, "00000000000")}, nullptr},
        {"ZONE", {digits(4, 21, "0000")}, nullptr},
        {"ZONEEN", {integer(0, 1, 22, "0")}, nullptr},
        {"BAUD", {{FieldKind::Baud, 0, 0, false, 17, RemoteForm::AsStored, "115200"}}, nullptr},
        {"UART",
         {integer(5, 8, 18, "8"),
          integer(0, 2, 0, "2"),
          {FieldKind::Int, 1, 3, false, 19, RemoteForm::StopBitsItem, "1"}},
         nullptr},
        {"RCVTIMEOUT", {integer(0, kAnyNumber, 0, "20")}, nullptr},
        {"RCVMAX", {integer(1, kAnyNumber, 0, "2048")}, nullptr},
        {"MSGEN", {integer(0, 1, 0, "0")}, nullptr},
        {"CONNREMOTE", {integer(0, 1, 10, "1")}, nullptr},
        {"PTHSERVEREN", {integer(0, 1, 12, "1")}, nullptr},
        {"CMDSERVEREN", {integer(0, 1, 0, "1")}, nullptr},
        {"SERVERTIME", {integer(0, kAnyNumber, 0, "600")}, nullptr},
        {"CMDMAXCONN", {integer(0, kAnyNumber, 0, "1")}, nullptr},
        {"PTHMAXCONN", {integer(0, kAnyNumber, 0, "8")}, nullptr},
    };
    return table;
}

const ParameterSpec *findParameter(const QByteArray &name)
{
    for (const ParameterSpec &parameter : parameterTable()) {
        if (name == parameter.name)
            return &parameter;
    }
    return nullptr;
}

ParameterValues factoryValues(const ParameterSpec &parameter)
{
    ParameterValues values;
    for (const FieldSpec &field : parameter.fields)
        values.append(QByteArray(field.factoryValue));
    return values;
}

bool parseSetValue(const ParameterSpec &parameter, const QByteArray &value, ParameterValues &values)
{
    ParameterValues fields;
    if (parameter.fields.size() == 1) {
        // A single value may come in quotes (the tool quotes MACs, NAME, PWD and REMOTEIP).
        const bool quoted = value.size() >= 2 && value.startsWith('"') && value.endsWith('"');
        fields.append(quoted ? value.mid(1, value.size() - 2) : value);
    } else if (!splitFields(value, fields)) {
        return false;
    }
    if (fields.size() != static_cast<qsizetype>(parameter.fields.size()))
        return false;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (!acceptField(parameter.fields[static_cast<size_t>(i)], fields[i]))
            return false;
    }
    if (parameter.crossCheck && !parameter.crossCheck(fields))
        return false;
    values = fields;
    return true;
}

QByteArray formatQueryAnswer(const ParameterSpec &parameter, const ParameterValues &values)
{
    QByteArray answer;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            answer += ',';
        const bool quoted = parameter.fields[static_cast<size_t>(i)].quoted;
        if (quoted)
            answer += '"';
        answer += values.at(i);
        if (quoted)
            answer += '"';
    }
    return answer;
}

QByteArray formatRemoteList(const ParameterSpec &parameter, const ParameterValues &values)
{
    QByteArray list;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const FieldSpec &field = parameter.fields[static_cast<size_t>(i)];
        if (field.remoteKey == 0)
            continue;
        list += QByteArray::number(field.remoteKey) + '=' + remoteValue(field, values.at(i)) + ';';
    }
    return list;
}
