#pragma once

// Text operations on reply values. Replies are GBK bytes; cutting them at ASCII delimiters (comma,
// quote, "=", ";") is safe because GBK trail bytes are never below 0x40. Texts become QString only
// when they go into a field (GbkText).

#include <QByteArray>
#include <QString>

// The characters before the first comma; the whole text when there is none.
QByteArray FirstField(const QByteArray &text);
// The characters after the first comma; empty when there is none.
QByteArray DropFirstField(const QByteArray &text);
// The same cut for the lists of the multi-value replies, where a comma between double quotes belongs
// to the value: "my,net","pw" gives "my,net" (quotes kept) and "pw". A quote left open runs to the end.
QByteArray FirstListField(const QByteArray &text);
QByteArray DropFirstListField(const QByteArray &text);
// The text with every occurrence of ch removed.
QByteArray RemoveChar(const QByteArray &text, char ch);

// ASCII letters upper-cased, every other byte unchanged: the form the contains tests look at.
QByteArray UpperForm(const QByteArray &text);
// Leading and trailing bytes of code 32 or below removed (blanks, CR, LF, tab, NUL, other controls).
QByteArray TrimmedForm(const QByteArray &text);
// ASCII letters upper-cased in a decoded text; other characters (Chinese included) stay.
QString AsciiUpper(const QString &text);

// Reply bytes as text for a field. A lead byte cut off at the end stays visible as U+FFFD.
QString GbkText(const QByteArray &bytes);
// Strict integer conversion of a reply value; throws ConversionError naming the value.
int ReplyInt(const QByteArray &text);

// The field text for a CLIENTLINK reply: the state in the current language, empty when unknown.
QString ConnectionStateText(const QByteArray &text, bool chinese);

// List positions of the IO row boxes for the letters of an IO body; -1 for anything else.
int IoModeIndex(const QByteArray &letter);
int IoPullIndex(const QByteArray &letter);
int IoLevelIndex(const QByteArray &letter);
