#include "FilterExpr.h"

#include "DbError.h"

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {

struct Token {
    enum Kind { End, Name, Number, String, Op, LParen, RParen, Comma } kind = End;
    QString text;
};

class Lexer {
public:
    explicit Lexer(const QString& s) : s_(s) {}
    Token next()
    {
        while (i_ < s_.size() && s_[i_].isSpace())
            ++i_;
        if (i_ >= s_.size())
            return {Token::End, {}};
        const QChar c = s_[i_];
        if (c == u'(') { ++i_; return {Token::LParen, u"("_s}; }
        if (c == u')') { ++i_; return {Token::RParen, u")"_s}; }
        if (c == u',') { ++i_; return {Token::Comma, u","_s}; }
        if (c == u'\'' || c == u'"') {
            QString text;
            ++i_;
            for (;;) {
                if (i_ >= s_.size())
                    throw DbError(u"Filtro invalido: texto sem aspas de fechamento"_s, DbErrorKind::Refused);
                if (s_[i_] == c) {
                    if (i_ + 1 < s_.size() && s_[i_ + 1] == c) {
                        text += c;
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    break;
                }
                text += s_[i_++];
            }
            return {Token::String, text};
        }
        if (c == u'[') {
            const qsizetype end = s_.indexOf(u']', i_);
            if (end < 0)
                throw DbError(u"Filtro invalido: falta ]"_s, DbErrorKind::Refused);
            Token t{Token::Name, s_.mid(i_ + 1, end - i_ - 1)};
            i_ = end + 1;
            return t;
        }
        if (c.isDigit() || ((c == u'-' || c == u'.') && i_ + 1 < s_.size() && s_[i_ + 1].isDigit())) {
            const qsizetype start = i_++;
            while (i_ < s_.size() && (s_[i_].isDigit() || s_[i_] == u'.'))
                ++i_;
            return {Token::Number, s_.mid(start, i_ - start)};
        }
        if (c.isLetter() || c == u'_') {
            const qsizetype start = i_;
            while (i_ < s_.size() && (s_[i_].isLetterOrNumber() || s_[i_] == u'_'))
                ++i_;
            return {Token::Name, s_.mid(start, i_ - start)};
        }
        for (const QString& op : {u"<>"_s, u"<="_s, u">="_s, u"!="_s, u"="_s, u"<"_s, u">"_s})
            if (QStringView(s_).mid(i_).startsWith(op)) {
                i_ += op.size();
                return {Token::Op, op == u"!="_s ? u"<>"_s : op};
            }
        throw DbError(u"Filtro invalido: caractere inesperado '%1'"_s.arg(c), DbErrorKind::Refused);
    }

private:
    const QString& s_;
    qsizetype i_ = 0;
};

struct Operand {
    QString sql;                    // SQL text for a field or a function of one
    const FieldDef* field = nullptr;  // set when the operand is a plain field
    bool isLiteral = false;
    QVariant literal;               // raw literal value (QString or number or null)
};

class Parser {
public:
    Parser(const QString& text, const TableDef& table) : lex_(text), table_(table) { advance(); }

    SqlCondition parse()
    {
        QString sql = orExpr();
        if (tok_.kind != Token::End)
            fail(u"texto inesperado '%1'"_s.arg(tok_.text));
        return {sql, params_};
    }

private:
    [[noreturn]] void fail(const QString& why) { throw DbError(u"Filtro invalido: "_s + why, DbErrorKind::Refused); }
    void advance() { tok_ = lex_.next(); }
    bool isWord(const char16_t* w) const
    {
        return tok_.kind == Token::Name && tok_.text.compare(QStringView(w), Qt::CaseInsensitive) == 0;
    }

    // Left-associative chain of `operand word operand ...`, each link bracketed.
    QString chain(const char16_t* word, const QString& sqlOp, QString (Parser::*operand)())
    {
        QString s = (this->*operand)();
        while (isWord(word)) {
            advance();
            s = u"("_s + s + sqlOp + (this->*operand)() + u")"_s;
        }
        return s;
    }
    QString orExpr() { return chain(u"or", u" OR "_s, &Parser::andExpr); }
    QString andExpr() { return chain(u"and", u" AND "_s, &Parser::notExpr); }
    QString notExpr()
    {
        if (isWord(u"not")) {
            advance();
            return u"(NOT "_s + notExpr() + u")"_s;
        }
        if (tok_.kind == Token::LParen) {
            advance();
            QString s = orExpr();
            if (tok_.kind != Token::RParen)
                fail(u"falta )"_s);
            advance();
            return u"("_s + s + u")"_s;
        }
        return comparison();
    }

    Operand operand()
    {
        Operand o;
        if (tok_.kind == Token::Number) {
            o.isLiteral = true;
            bool ok = false;
            o.literal = tok_.text.contains(u'.') ? QVariant(tok_.text.toDouble(&ok))
                                                  : QVariant(tok_.text.toLongLong(&ok));
            if (!ok)
                fail(u"numero invalido "_s + tok_.text);
            advance();
            return o;
        }
        if (tok_.kind == Token::String) {
            o.isLiteral = true;
            o.literal = tok_.text;
            advance();
            return o;
        }
        if (tok_.kind == Token::Name) {
            if (isWord(u"null")) {
                o.isLiteral = true;
                advance();
                return o;
            }
            const QString name = tok_.text;
            advance();
            if (tok_.kind == Token::LParen) {  // upper(field) / lower(field)
                const QString fn = name.toLower();
                if (fn != u"upper"_s && fn != u"lower"_s)
                    fail(u"funcao desconhecida "_s + name);
                advance();
                Operand inner = operand();
                if (tok_.kind != Token::RParen)
                    fail(u"falta )"_s);
                advance();
                if (inner.isLiteral) {
                    inner.literal = fn == u"upper"_s ? inner.literal.toString().toUpper()
                                                     : inner.literal.toString().toLower();
                    return inner;
                }
                o.sql = fn + u"("_s + inner.sql + u")"_s;
                return o;
            }
            o.field = table_.findField(name);
            if (!o.field)
                fail(u"campo desconhecido "_s + name);
            o.sql = quoted(o.field->name);
            return o;
        }
        fail(u"valor esperado"_s);
    }

    // A literal compared with a field is converted to that field's stored form.
    QString bindLiteral(const Operand& lit, const FieldDef* against)
    {
        QVariant v = lit.literal;
        if (against && !v.isNull()) {
            try {
                v = toStorage(*against, coerceForField(FieldDef{against->name, against->type, 0, {}, false}, v));
            } catch (const DbError& e) {
                fail(e.message());
            }
        }
        params_ << v;
        return u"?"_s;
    }

    QString comparison()
    {
        Operand left = operand();
        if (isWord(u"is")) {
            advance();
            bool negate = false;
            if (isWord(u"not")) {
                negate = true;
                advance();
            }
            if (!isWord(u"null"))
                fail(u"esperado null"_s);
            advance();
            return sqlOf(left, nullptr) + (negate ? u" IS NOT NULL"_s : u" IS NULL"_s);
        }
        if (tok_.kind != Token::Op)
            fail(u"operador esperado"_s);
        const QString op = tok_.text;
        advance();
        Operand right = operand();
        if (left.isLiteral && right.isLiteral)
            fail(u"comparacao sem campo"_s);
        QString effectiveOp = op;
        if (left.isLiteral) {
            std::swap(left, right);
            if (op == u"<"_s) effectiveOp = u">"_s;
            else if (op == u">"_s) effectiveOp = u"<"_s;
            else if (op == u"<="_s) effectiveOp = u">="_s;
            else if (op == u">="_s) effectiveOp = u"<="_s;
        }
        if (right.isLiteral) {
            const bool blank = right.literal.isNull() ||
                               (right.literal.typeId() == QMetaType::QString && right.literal.toString().isEmpty());
            if (blank && (effectiveOp == u"="_s || effectiveOp == u"<>"_s))
                return left.sql + (effectiveOp == u"="_s ? u" IS NULL"_s : u" IS NOT NULL"_s);
            const QString text = right.literal.toString();
            if (effectiveOp == u"="_s && right.literal.typeId() == QMetaType::QString && text.endsWith(u'*')) {
                // partial match: the text before the asterisk starts the field
                const QString prefix = text.left(text.size() - 1);
                params_ << prefix << prefix;
                return u"substr("_s + left.sql + u", 1, length(?)) = ?"_s;
            }
        }
        const QString lhs = left.sql;
        const QString rhs = right.isLiteral ? bindLiteral(right, left.field) : right.sql;
        return lhs + u' ' + effectiveOp + u' ' + rhs;
    }

    QString sqlOf(const Operand& o, const FieldDef* against)
    {
        return o.isLiteral ? bindLiteral(o, against) : o.sql;
    }

    Lexer lex_;
    const TableDef& table_;
    Token tok_;
    QVariantList params_;
};

}  // namespace

SqlCondition compileFilter(const QString& text, const TableDef& table)
{
    if (text.trimmed().isEmpty())
        return {};
    return Parser(text, table).parse();
}

}  // namespace pcp
