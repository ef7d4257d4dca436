#include "scramble.h"

#include "gbk.h"

#include <QRandomGenerator>

namespace {

// Cycles over the key bytes: 1, 2, ..., last, then 1 again. An empty key
// (which callers never pass) leaves the bytes unkeyed rather than failing.
class KeyCycle
{
public:
    explicit KeyCycle(const QByteArray& key)
        : m_key(key)
    {
    }

    int next()
    {
        if (m_key.isEmpty())
            return 0;
        m_index = m_index < m_key.size() ? m_index + 1 : 1;
        return static_cast<quint8>(m_key.at(m_index - 1));
    }

private:
    QByteArray m_key;
    int m_index = 0;
};

// An invalid hex pair counts as 0.
int hexPair(const QString& text, int position)
{
    bool ok = false;
    const int value = text.mid(position, 2).toInt(&ok, 16);
    return ok ? value : 0;
}

QString hex(int value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString EncryptBytes(const QByteArray& plain, const QByteArray& key, int seed)
{
    if (plain.isEmpty())
        return QString();
    int s = seed;
    QString result = hex(s);
    KeyCycle keyCycle(key);
    for (const char byte : plain) {
        s = (static_cast<quint8>(byte) + s) % 255;
        s ^= keyCycle.next();
        result += hex(s);
    }
    return result;
}

QByteArray DecryptBytes(const QString& text, const QByteArray& key)
{
    QByteArray result;
    if (text.isEmpty())
        return result;
    int previous = hexPair(text, 0);
    KeyCycle keyCycle(key);
    for (int position = 2; position + 1 < text.size(); position += 2) {
        const int c = hexPair(text, position);
        const int t = c ^ keyCycle.next();
        result.append(static_cast<char>(previous < t ? t - previous : t - previous + 255));
        previous = c;
    }
    return result;
}

QString EncryptCore(const QString& plain, const QString& key)
{
    return EncryptBytes(ToGbk(plain), ToGbk(key), QRandomGenerator::global()->bounded(256));
}

QString DecryptCore(const QString& text, const QString& key)
{
    return FromGbk(DecryptBytes(text, ToGbk(key)));
}

QString RandomKey(int count)
{
    QString key;
    for (int i = 0; i < count; ++i) {
        const int r = QRandomGenerator::global()->bounded(36);
        key += r <= 9 ? QChar('0' + r) : QChar('a' + r - 10);
    }
    return key;
}

QString EncryptText(const QString& plain, const QString& key)
{
    const QString innerKey = RandomKey(6);
    return EncryptCore(innerKey, key) + EncryptCore(plain, innerKey);
}

QString DecryptText(const QString& text, const QString& key)
{
    const QByteArray innerKey = DecryptBytes(text.left(14), ToGbk(key));
    return FromGbk(DecryptBytes(text.mid(14), innerKey));
}
