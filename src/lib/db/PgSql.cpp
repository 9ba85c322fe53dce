#include "PgSql.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace pcp::driver {

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; }

// Ends of an ORDER BY list, at the list's own depth.
bool endsOrderBy(const QString& upper)
{
    static const QStringList words{u"LIMIT"_s, u"OFFSET"_s, u"FOR"_s,   u"UNION"_s,  u"EXCEPT"_s,
                                   u"INTERSECT"_s, u"FETCH"_s, u"WINDOW"_s, u"RETURNING"_s};
    return words.contains(upper);
}

class Translator {
public:
    Translator(const QString& sql, const std::vector<bool>& blank) : in_(sql), blank_(blank) {}

    PgSql run()
    {
        skipSpaceOut();
        while (pos_ < in_.size()) {
            const QChar c = in_[pos_];
            if (c == u'\'') {
                copyQuoted(u'\'', false);
            } else if (c == u'"') {
                // a collation's name keeps its case ("C")
                copyQuoted(u'"', !out_.trimmed().endsWith(u"COLLATE"_s, Qt::CaseInsensitive));
            } else if (c == u'-' && peek(1) == u'-') {
                while (pos_ < in_.size() && in_[pos_] != u'\n')
                    out_ += in_[pos_++];
            } else if (c == u'?') {
                ++pos_;
                out_ += u'$' + QString::number(parameterNumber());
            } else if (c.isLetter() || c == u'_') {
                word();
            } else if (c == u'(') {
                ++depth_;
                out_ += c;
                ++pos_;
            } else if (c == u')') {
                if (orderDepth_ == depth_)
                    endOrderItem(true);
                --depth_;
                out_ += c;
                ++pos_;
            } else if (c == u',' && orderDepth_ == depth_) {
                endOrderItem(false);
                out_ += c;
                ++pos_;
            } else if (c == u';') {
                if (orderDepth_ == depth_)
                    endOrderItem(true);
                out_ += c;
                ++pos_;
            } else {
                out_ += c;
                ++pos_;
            }
        }
        if (orderDepth_ == depth_)
            endOrderItem(true);
        PgSql result;
        if (isInsert_ && !hasSelect_ && !hasReturning_) {
            out_ += u" RETURNING _rowid_"_s;
            result.returnsRowId = true;
        }
        result.text = out_.toUtf8();
        result.parameters = maxParam_;
        result.blankSensitive = blankSensitive_;
        return result;
    }

private:
    QChar peek(int ahead) const { return pos_ + ahead < in_.size() ? in_[pos_ + ahead] : QChar(); }

    void skipSpaceOut()
    {
        while (pos_ < in_.size() && in_[pos_].isSpace())
            out_ += in_[pos_++];
    }

    void copyQuoted(QChar quote, bool fold)
    {
        QString text(quote);
        ++pos_;
        while (pos_ < in_.size()) {
            const QChar c = in_[pos_++];
            text += c;
            if (c == quote) {
                if (pos_ < in_.size() && in_[pos_] == quote) {
                    text += in_[pos_++];
                    continue;
                }
                break;
            }
        }
        out_ += fold ? text.toLower() : text;
    }

    int parameterNumber()
    {
        int n = 0;
        const int start = pos_;
        while (pos_ < in_.size() && in_[pos_].isDigit())
            n = n * 10 + in_[pos_++].digitValue();
        if (pos_ == start)
            n = ++nextParam_;
        maxParam_ = std::max(maxParam_, n);
        return n;
    }

    QString readWord()
    {
        const int start = pos_;
        while (pos_ < in_.size() && isWordChar(in_[pos_]))
            ++pos_;
        return in_.mid(start, pos_ - start);
    }

    // The word that follows, without consuming it.
    QString nextWord(int* after = nullptr) const
    {
        int p = pos_;
        while (p < in_.size() && in_[p].isSpace())
            ++p;
        const int start = p;
        while (p < in_.size() && isWordChar(in_[p]))
            ++p;
        if (after)
            *after = p;
        return in_.mid(start, p - start).toUpper();
    }

    void word()
    {
        const QString w = readWord();
        const QString upper = w.toUpper();
        if (firstWord_.isEmpty()) {
            firstWord_ = upper;
            isInsert_ = upper == u"INSERT"_s;
        }
        if (upper == u"SELECT"_s && isInsert_ && depth_ == 0)
            hasSelect_ = true;
        if (upper == u"RETURNING"_s)
            hasReturning_ = true;
        if (orderDepth_ == depth_ && endsOrderBy(upper))
            endOrderItem(true);
        if (upper == u"ROWID"_s && !w.startsWith(u'_')) {
            out_ += u"_rowid_"_s;
            return;
        }
        if (upper == u"LIKE"_s) {
            out_ += u"ILIKE"_s;
            return;
        }
        if (upper == u"ORDER"_s && nextWord() == u"BY"_s) {
            int after = 0;
            nextWord(&after);
            out_ += in_.mid(pos_ - w.size(), after - (pos_ - w.size()));
            pos_ = after;
            orderDepth_ = depth_;
            itemStart_ = out_.size();
            return;
        }
        if (upper == u"IS"_s && isDistinctTest())
            return;
        out_ += w;
    }

    // "IS ?" or "IS NOT DISTINCT FROM ?": the left operand is already in out_.
    bool isDistinctTest()
    {
        int p = pos_;
        auto skip = [&] {
            while (p < in_.size() && in_[p].isSpace())
                ++p;
        };
        auto take = [&](const QString& expected) {
            skip();
            const int start = p;
            while (p < in_.size() && isWordChar(in_[p]))
                ++p;
            if (in_.mid(start, p - start).toUpper() == expected)
                return true;
            p = start;
            return false;
        };
        if (take(u"NOT"_s) && !(take(u"DISTINCT"_s) && take(u"FROM"_s)))
            return false;
        skip();
        if (p >= in_.size() || in_[p] != u'?')
            return false;
        const int lhsStart = leftOperandStart();
        pos_ = p + 1;
        const int n = parameterNumber();
        const QString param = u'$' + QString::number(n);
        if (lhsStart < 0) {
            out_ += u"IS NOT DISTINCT FROM "_s + param;
            return true;
        }
        blankSensitive_ = true;
        QString lhs = out_.mid(lhsStart).trimmed();
        out_.truncate(lhsStart);
        const bool blank = n - 1 < int(blank_.size()) && blank_[size_t(n - 1)];
        out_ += blank ? u"("_s + lhs + u" IS NULL AND "_s + param + u"::text IS NULL) "_s
                      : u"("_s + lhs + u" = "_s + param + u") "_s;
        return true;
    }

    // Where the operand before "IS" starts in out_: a column ("a", a.b,
    // "t"."c") or a function call over one; -1 when it is anything else.
    int leftOperandStart() const
    {
        int p = int(out_.size()) - 1;
        while (p >= 0 && out_[p].isSpace())
            --p;
        if (p < 0)
            return -1;
        if (out_[p] == u')') {
            int depth = 0;
            for (; p >= 0; --p) {
                if (out_[p] == u')')
                    ++depth;
                else if (out_[p] == u'(' && --depth == 0)
                    break;
            }
            if (p < 0)
                return -1;
            --p;
        }
        while (p >= 0 && (isWordChar(out_[p]) || out_[p] == u'.' || out_[p] == u'"'))
            --p;
        const int start = p + 1;
        if (start >= out_.size() || !(out_[start].isLetter() || out_[start] == u'_' || out_[start] == u'"'))
            return -1;
        return start;
    }

    void endOrderItem(bool last)
    {
        const QString item = out_.mid(itemStart_).trimmed().toUpper();
        if (!item.isEmpty() && !item.contains(u"NULLS"_s)) {
            int end = int(out_.size());
            while (end > itemStart_ && out_[end - 1].isSpace())
                --end;
            const QString tail = item.endsWith(u" DESC"_s) ? u" NULLS LAST"_s : u" NULLS FIRST"_s;
            out_.insert(end, tail);
        }
        itemStart_ = int(out_.size()) + 1;
        if (last)
            orderDepth_ = -1;
    }

    const QString& in_;
    const std::vector<bool>& blank_;
    QString out_;
    int pos_ = 0;
    int depth_ = 0;
    int orderDepth_ = -1;
    int itemStart_ = 0;
    int nextParam_ = 0;
    int maxParam_ = 0;
    QString firstWord_;
    bool isInsert_ = false;
    bool hasSelect_ = false;
    bool hasReturning_ = false;
    bool blankSensitive_ = false;
};

}  // namespace

PgSql translateForPostgres(const QString& sql, const std::vector<bool>& blank)
{
    return Translator(sql, blank).run();
}

}  // namespace pcp::driver
