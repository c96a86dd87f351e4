// The knowledge is held in tables, one per kind of reply, each with one handler.

#include "protocol/ReplyInterpreter.h"

#include "protocol/ConsoleText.h"
#include "protocol/ParameterCatalogue.h"
#include "protocol/ReplyDecoders.h"
#include "protocol/ValueDecoders.h"

namespace {

struct Message {
    const char16_t *english;
    const char16_t *chinese;
    QString in(bool inChinese) const { return QString::fromUtf16(inChinese ? chinese : english); }
};

// Replies to mode commands, system operations and every set command. A line that is the failure word
// alone is the module's verdict and wins; otherwise the success word is tested first, the failure word
// only when it is missing. (An echo of the command can hold "OK" inside a value, as in "OKnet".)
struct Acknowledgement {
    int first; // range of type codes
    int last;
    const char *successWord;
    Message success;
    const char *failureWord; // nullptr: no failure test
    Message failure;
    bool ioLineTest; // neither word found: an "IOnn" line may report a pin level
};

// clang-format off
const Acknowledgement kAcknowledgements[] = {
    {0, 0,   "AT MODE", {u"Enter to Setting mode successfully!", u"切换到配置模式成功！"},
             nullptr,   {},
             false},
    {2, 2,   "OK",      {u"Enter to Data mode successfully!", u"切换到数传模式成功！"},
             "ERROR",   {u"Enter to Data mode Fail!", u"切换到数传模式失败！"},
             false},
    {3, 3,   "OK",      {u"Restar successfully!", u"系统重启成功！"},
             "ERROR",   {u"Restar Fail!", u"系统重启失败！"},
             false},
    {4, 4,   "OK",      {u"Restore successfully!", u"恢复出厂设置成功！"},
             "ERROR",   {u"Restore Fail!", u"恢复出厂设置失败！"},
             false},
    {6, 6,   "OK",      {u"Enter to SmartLink successfully!", u"进入Smartlink模式成功！"},
             "ERROR",   {u"Enter to SmartLink Fail!", u"进入Smartlink模式失败！"},
             false},
    {12, 44, "OK",      {u"Set successfully!", u"设置成功！"},
             "ERROR",   {u"Set Fail!", u"设置失败！"},
             true},
};
// clang-format on

// An IO line names the pin by its GPIO number; its sixth character is the level.
struct IoLine {
    const char *head;
    int row;
};
const IoLine kIoLines[] = {{"IO16", 1}, {"IO14", 2}, {"IO12", 3}, {"IO13", 4}};

// The list and status queries of the base operations group.
enum class StatusEffect { AppendToMemo, ConnectionState, WifiState, Unquoted, AsReceived };

struct StatusQuery {
    int code;
    bool errorExit;
    Field target;
    StatusEffect effect;
};

const StatusQuery kStatusQueries[] = {
    {7, false, Field::ListMemo, StatusEffect::AppendToMemo},      // LSSTAINF
    {8, false, Field::ListMemo, StatusEffect::AppendToMemo},      // LSAPINF
    {9, true, Field::ServerState, StatusEffect::ConnectionState}, // CLIENTLINK
    {10, false, Field::WifiState, StatusEffect::WifiState},       // WIFISTATE
    {11, true, Field::CurrentStationIp, StatusEffect::Unquoted},  // CURRENTSTAIP
    {98, false, Field::Version, StatusEffect::AsReceived},        // QXVERSION
};

// The first word of this order that the reply contains wins, wherever it stands in the reply.
struct WifiStateWord {
    const char *word;
    Message text;
};

const WifiStateWord kWifiStateWords[] = {
    {"IDLE", {u"Free", u"空闲状态"}},
    {"CONNECTING", {u"Connecting...", u"连接中..."}},
    {"WRONG_PASSWORD", {u"Wrong Password", u"错误密码"}},
    {"NO_AP_FOUND", {u"Not found AP", u"没找到该AP"}},
    {"CONNECT_FAIL", {u"Connect Fail", u"连接失败"}},
    {"GOT_IP", {u"Connected and got IP", u"连接成功，获得IP"}},
};

template <typename Row, size_t N> const Row *findByCode(const Row (&table)[N], int code)
{
    for (const Row &row : table) {
        if (row.code == code)
            return &row;
    }
    return nullptr;
}

// The three forms of one received text that the steps look at.
struct Reply {
    const QByteArray &text;
    QByteArray upper;
    QByteArray trimmed;
    bool isError() const { return trimmed == "ERROR"; }
};

void interpretIoLine(const QByteArray &text, ReplyEffects &effects)
{
    const QByteArray head = text.left(4);
    for (const IoLine &line : kIoLines) {
        if (head == line.head) {
            effects.io << IoChange{line.row, IoChange::Box::Level, ReplyInt(text.mid(5, 1))};
            return;
        }
    }
}

// True when a line of the upper form, blanks and controls trimmed, is the word alone.
bool hasLineOf(const QByteArray &upper, const char *word)
{
    qsizetype start = 0;
    while (start <= upper.size()) {
        qsizetype end = start;
        while (end < upper.size() && upper.at(end) != '\r' && upper.at(end) != '\n')
            ++end;
        if (TrimmedForm(upper.mid(start, end - start)) == word)
            return true;
        start = end + 1;
    }
    return false;
}

AckVerdict verdictOf(const Acknowledgement &row, const QByteArray &upper)
{
    const bool failureLine = row.failureWord && hasLineOf(upper, row.failureWord);
    if (!failureLine && upper.contains(row.successWord))
        return AckVerdict::Success;
    if (row.failureWord && upper.contains(row.failureWord))
        return AckVerdict::Failure;
    return AckVerdict::Neither;
}

const Acknowledgement *findAcknowledgement(int typeCode)
{
    for (const Acknowledgement &row : kAcknowledgements) {
        if (typeCode >= row.first && typeCode <= row.last)
            return &row;
    }
    return nullptr;
}

void interpretAcknowledgement(const Acknowledgement &row, const Reply &reply, bool chinese,
                              ReplyEffects &effects)
{
    switch (verdictOf(row, reply.upper)) {
    case AckVerdict::Success:
        effects.console << row.success.in(chinese);
        break;
    case AckVerdict::Failure:
        effects.console << row.failure.in(chinese);
        break;
    case AckVerdict::Neither:
        if (row.ioLineTest && reply.upper.contains("IO"))
            interpretIoLine(reply.text, effects);
        break;
    }
}

void interpretStatusQuery(const StatusQuery &row, const Reply &reply, bool chinese, ReplyEffects &effects)
{
    switch (row.effect) {
    case StatusEffect::AppendToMemo:
        effects.fields << FieldChange::appendLine(row.target, GbkText(reply.text));
        break;
    case StatusEffect::ConnectionState:
        effects.fields << FieldChange::showText(row.target, ConnectionStateText(reply.trimmed, chinese));
        break;
    case StatusEffect::WifiState:
        for (const WifiStateWord &state : kWifiStateWords) {
            if (reply.upper.contains(state.word)) {
                effects.fields << FieldChange::showText(row.target, state.text.in(chinese));
                break;
            }
        }
        break;
    case StatusEffect::Unquoted:
        effects.fields << FieldChange::showText(row.target, GbkText(RemoveChar(reply.trimmed, '"')));
        break;
    case StatusEffect::AsReceived:
        effects.fields << FieldChange::showText(row.target, GbkText(reply.text));
        break;
    }
}

// Parameter queries: the module answers with the bare value, the whole trimmed reply.
void interpretParameterQuery(const ParameterRow &row, const QByteArray &value, ReplyEffects &effects)
{
    const Field target = row.fields.front(); // multi-field forms know their own fields
    switch (row.reply) {
    case ReplyForm::ItemText:
        effects.fields << FieldChange::selectText(target, GbkText(TrimmedForm(value)));
        break;
    case ReplyForm::Text:
        effects.fields << FieldChange::showText(target, GbkText(value));
        break;
    case ReplyForm::Index:
        effects.fields << FieldChange::select(target, ReplyInt(value));
        break;
    case ReplyForm::IndexMinus1:
        effects.fields << FieldChange::select(target, qint64(ReplyInt(value)) - 1);
        break;
    case ReplyForm::Mac:
        effects.fields << FieldChange::showText(target, AsciiUpper(GbkText(RemoveChar(value, '"'))));
        break;
    case ReplyForm::SerialFormat:
        DecodeSerialFormat(value, effects);
        break;
    case ReplyForm::StationConfig:
        DecodeStationConfig(value, effects);
        break;
    case ReplyForm::ApInfo:
        DecodeApInfo(value, effects);
        break;
    case ReplyForm::StationAddresses:
        DecodeAddressTriple(value, AddressGroup::Station, effects);
        break;
    case ReplyForm::ApAddresses:
        DecodeAddressTriple(value, AddressGroup::Ap, effects);
        break;
    }
}

// Acts on the reply by the type code. False when the reply is a bare ERROR that ends the handling.
bool interpretByTypeCode(const ReplyContext &context, const Reply &reply, ReplyEffects &effects)
{
    if (const Acknowledgement *row = findAcknowledgement(context.typeCode)) {
        interpretAcknowledgement(*row, reply, context.chinese, effects);
        return true;
    }
    if (const StatusQuery *row = findByCode(kStatusQueries, context.typeCode)) {
        if (row->errorExit && reply.isError())
            return false;
        interpretStatusQuery(*row, reply, context.chinese, effects);
        return true;
    }
    const ParameterRow *row = FindParameterByCode(context.typeCode);
    if (row && context.typeCode == row->readCode()) {
        if (reply.isError())
            return false;
        interpretParameterQuery(*row, reply.trimmed, effects);
    }
    return true;
}

// A module reply frame: A8 81, module ID (11), zone (4), function code, one byte, checksum, payload.
bool isModuleReplyFrame(const QByteArray &text)
{
    return text.startsWith(QByteArrayView("\xA8\x81", 2));
}

void interpretRemoteFrame(const ReplyContext &context, const QByteArray &text, ReplyEffects &effects)
{
    const bool chinese = context.chinese;
    const bool reading = context.lastIoOperation == QLatin1String("R");
    const QString prefix =
        reading
            ? (chinese ? QStringLiteral("远程读取WIFI模块:") : QStringLiteral("Remoete read WIFI module:"))
            : (chinese ? QStringLiteral("远程设置WIFI模块:") : QStringLiteral("Remoete Set WIFI module:"));
    const QString module = prefix + RenderBytes(text.mid(2, 11));
    const QByteArray function = text.mid(17, 1); // byte 18: hex characters 35 and 36 of the hex form
    // The result line follows the decoder, also when the decoder rejected the body with a warning.
    if (function == "\x05") {
        DecodeRemoteIo(text.mid(20, 10), chinese, effects);
        effects.console << module +
                               (chinese ? QStringLiteral(" IO成功！") : QStringLiteral(" IO successfully!"));
    } else if (function == "\x09") {
        DecodeRemoteParameters(TrimmedForm(text.mid(20)), effects);
        effects.console << module + (chinese ? QStringLiteral(" 参数成功！")
                                             : QStringLiteral(" Parameters successfully!"));
    }
}

} // namespace

ReplyEffects interpretReply(const ReplyContext &context, const QByteArray &text)
{
    ReplyEffects effects;
    try {
        if (isModuleReplyFrame(text)) {
            // A frame is never a value, whatever the last command asked: on the Internet link the
            // module answers a query with one, and read as the value it would fail the number
            // conversion or put its raw bytes into a text field.
            interpretRemoteFrame(context, text, effects);
        } else {
            const Reply reply{text, UpperForm(text), TrimmedForm(text)};
            if (!interpretByTypeCode(context, reply, effects))
                return effects;
        }
        effects.status = context.chinese ? QStringLiteral("操作完成！") : QStringLiteral("Operate complete!");
    } catch (const ConversionError &failure) {
        effects.failure = failure;
        if (context.road == ReplyRoad::Serial)
            effects.boxes << ReplyBox{ReplyBox::Kind::Error, failure.message()};
    }
    return effects;
}

AckVerdict AcknowledgementVerdict(int typeCode, const QByteArray &text)
{
    const Acknowledgement *row = findAcknowledgement(typeCode);
    return row ? verdictOf(*row, UpperForm(text)) : AckVerdict::Neither;
}
