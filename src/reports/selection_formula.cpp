#include "reports/selection_formula.h"

#include "core/format.h"

namespace torvane::reports {

namespace {

using NodePtr = std::shared_ptr<const FormulaNode>;

struct Token {
    enum class Type {
        Field,
        Formula,
        Text,
        Number,
        Word,
        Op,
        LParen,
        RParen,
        LBracket,
        RBracket,
        Comma,
        Minus,
        End
    };
    Type type = Type::End;
    QString text;  // word (lower case), operator, text value, number text
    QString table, name;
    int pos = 0;  // 1-based position in the formula
};

bool isNameChar(QChar c) {
    return c.isLetterOrNumber() || c == '_';
}

// Nesting deeper than this is not a formula anyone writes; refusing it keeps
// the parser's recursion bounded.
constexpr int kMaxDepth = 64;

class Lexer {
  public:
    explicit Lexer(const QString& s) : s_(s) {}

    bool run(std::vector<Token>* out, QString* error) {
        while (true) {
            skipSpace();
            Token t;
            t.pos = i_ + 1;
            if (i_ >= s_.size()) {
                t.type = Token::Type::End;
                out->push_back(t);
                return true;
            }
            const QChar c = s_[i_];
            if (c == '{') {
                if (!field(&t, error)) return false;
            } else if (c == '\'' || c == '"') {
                if (!text(&t, error)) return false;
            } else if (c.isDigit()) {
                number(&t);
            } else if (c.isLetter()) {
                const int start = i_;
                while (i_ < s_.size() && isNameChar(s_[i_])) ++i_;
                t.type = Token::Type::Word;
                t.text = s_.mid(start, i_ - start).toLower();
            } else if (c == '=' || c == '<' || c == '>') {
                t.type = Token::Type::Op;
                t.text = c;
                ++i_;
                if (i_ < s_.size() && c != '=' && (s_[i_] == '=' || (c == '<' && s_[i_] == '>'))) {
                    t.text += s_[i_];
                    ++i_;
                }
            } else if (c == '(' || c == ')' || c == '[' || c == ']' || c == ',' || c == '-') {
                t.type = c == '('   ? Token::Type::LParen
                         : c == ')' ? Token::Type::RParen
                         : c == '[' ? Token::Type::LBracket
                         : c == ']' ? Token::Type::RBracket
                         : c == ',' ? Token::Type::Comma
                                    : Token::Type::Minus;
                t.text = c;
                ++i_;
            } else {
                *error =
                    QStringLiteral("carácter no válido «%1» en la posición %2").arg(c).arg(i_ + 1);
                return false;
            }
            out->push_back(t);
        }
    }

  private:
    void skipSpace() {
        while (i_ < s_.size() && s_[i_].isSpace()) ++i_;
    }

    bool field(Token* t, QString* error) {
        const int close = s_.indexOf('}', i_);
        if (close < 0) {
            *error =
                QStringLiteral("falta cerrar la llave del campo de la posición %1").arg(i_ + 1);
            return false;
        }
        const QString inner = s_.mid(i_ + 1, close - i_ - 1).trimmed();
        const auto validName = [](const QString& n) {
            if (n.isEmpty()) return false;
            for (QChar c : n)
                if (!isNameChar(c)) return false;
            return true;
        };
        if (inner.startsWith('@')) {
            t->type = Token::Type::Formula;
            t->name = inner.mid(1).trimmed();
            if (!validName(t->name)) {
                *error = QStringLiteral("nombre de fórmula no válido «{%1}»").arg(inner);
                return false;
            }
        } else {
            const int dot = inner.indexOf('.');
            t->type = Token::Type::Field;
            t->table = inner.left(dot).trimmed();
            t->name = inner.mid(dot + 1).trimmed();
            if (dot < 0 || !validName(t->table) || !validName(t->name)) {
                *error =
                    QStringLiteral("campo no válido «{%1}»: se escribe {Tabla.Columna}").arg(inner);
                return false;
            }
        }
        i_ = close + 1;
        return true;
    }

    // A quote ends the text only where the formula can go on after it; a quote
    // in the middle of a word (O'BRIEN) is part of the text, as is a doubled one.
    bool closesText(int at) const {
        int j = at + 1;
        while (j < s_.size() && s_[j].isSpace()) ++j;
        if (j >= s_.size()) return true;
        const QChar c = s_[j];
        if (c == ')' || c == ']' || c == ',' || c == '=' || c == '<' || c == '>' || c == '{')
            return true;
        for (const char* kw : {"and", "or"}) {
            const QString k = QString::fromLatin1(kw);
            if (s_.mid(j, k.size()).compare(k, Qt::CaseInsensitive) == 0 &&
                (j + k.size() >= s_.size() || !isNameChar(s_[j + k.size()])))
                return true;
        }
        return false;
    }

    bool text(Token* t, QString* error) {
        const QChar quote = s_[i_];
        const int start = i_;
        QString value;
        ++i_;
        while (true) {
            if (i_ >= s_.size()) {
                *error = QStringLiteral("falta cerrar el texto que empieza en la posición %1")
                             .arg(start + 1);
                return false;
            }
            const QChar c = s_[i_];
            if (c == quote) {
                if (i_ + 1 < s_.size() && s_[i_ + 1] == quote) {
                    value += quote;
                    i_ += 2;
                    continue;
                }
                if (closesText(i_)) {
                    ++i_;
                    break;
                }
            }
            value += c;
            ++i_;
        }
        t->type = Token::Type::Text;
        t->text = value;
        return true;
    }

    void number(Token* t) {
        const int start = i_;
        while (i_ < s_.size() && s_[i_].isDigit()) ++i_;
        if (i_ + 1 < s_.size() && s_[i_] == '.' && s_[i_ + 1].isDigit()) {
            ++i_;
            while (i_ < s_.size() && s_[i_].isDigit()) ++i_;
        }
        t->type = Token::Type::Number;
        t->text = s_.mid(start, i_ - start);
    }

    const QString& s_;
    int i_ = 0;
};

class Parser {
  public:
    Parser(const std::vector<Token>& tokens, QString* error) : t_(tokens), error_(error) {}

    NodePtr parseAll() {
        NodePtr n = parseOr(0);
        if (!n) return nullptr;
        if (peek().type != Token::Type::End)
            return fail(QStringLiteral("sobra texto a partir de la posición %1").arg(peek().pos));
        return n;
    }

  private:
    const Token& peek() const { return t_[i_]; }
    const Token& take() { return t_[i_ < t_.size() - 1 ? i_++ : i_]; }
    bool isWord(const char* w) const {
        return peek().type == Token::Type::Word && peek().text == QLatin1String(w);
    }

    NodePtr fail(const QString& message) {
        if (error_->isEmpty()) *error_ = message;
        return nullptr;
    }
    QString where() const {
        return peek().type == Token::Type::End
                   ? QStringLiteral("al final de la fórmula")
                   : QStringLiteral("en la posición %1").arg(peek().pos);
    }

    static NodePtr binary(FormulaNode::Kind kind, NodePtr a, NodePtr b) {
        auto n = std::make_shared<FormulaNode>();
        n->kind = kind;
        n->children = {std::move(a), std::move(b)};
        return n;
    }

    NodePtr parseOr(int depth) {
        if (depth > kMaxDepth) return fail(QStringLiteral("la fórmula anida demasiados niveles"));
        NodePtr left = parseAnd(depth);
        while (left && isWord("or")) {
            take();
            NodePtr right = parseAnd(depth);
            if (!right) return nullptr;
            left = binary(FormulaNode::Kind::Or, left, right);
        }
        return left;
    }

    NodePtr parseAnd(int depth) {
        NodePtr left = parseNot(depth);
        while (left && isWord("and")) {
            take();
            NodePtr right = parseNot(depth);
            if (!right) return nullptr;
            left = binary(FormulaNode::Kind::And, left, right);
        }
        return left;
    }

    NodePtr parseNot(int depth) {
        if (depth > kMaxDepth) return fail(QStringLiteral("la fórmula anida demasiados niveles"));
        if (isWord("not")) {
            take();
            NodePtr inner = parseNot(depth + 1);
            if (!inner) return nullptr;
            auto n = std::make_shared<FormulaNode>();
            n->kind = FormulaNode::Kind::Not;
            n->children = {inner};
            return n;
        }
        return parseCondition(depth);
    }

    static bool isValue(const NodePtr& n) {
        return n->kind == FormulaNode::Kind::Text || n->kind == FormulaNode::Kind::Number;
    }
    static bool isField(const NodePtr& n) {
        return n->kind == FormulaNode::Kind::Field || n->kind == FormulaNode::Kind::Formula;
    }

    NodePtr parseCondition(int depth) {
        NodePtr left = parseOperand(depth);
        if (!left) return nullptr;
        if (peek().type == Token::Type::Op) {
            auto n = std::make_shared<FormulaNode>();
            n->kind = FormulaNode::Kind::Compare;
            n->op = take().text;
            NodePtr right = parseOperand(depth);
            if (!right) return nullptr;
            n->children = {left, right};
            return n;
        }
        if (isWord("like") || isWord("in")) {
            const bool like = isWord("like");
            take();
            if (!isField(left))
                return fail(QStringLiteral("«%1» necesita un campo a su izquierda")
                                .arg(like ? "like" : "in"));
            if (!like && (isWord("datetime") || isWord("date"))) return parseDateRange(left);
            return parseList(left, like);
        }
        if (isValue(left))
            return fail(QStringLiteral("se esperaba una comparación %1").arg(where()));
        return left;  // a field or a yes/no formula on its own
    }

    NodePtr parseOperand(int depth) {
        const Token& t = peek();
        auto n = std::make_shared<FormulaNode>();
        switch (t.type) {
            case Token::Type::Field:
                n->kind = FormulaNode::Kind::Field;
                n->table = t.table;
                n->name = t.name;
                take();
                return n;
            case Token::Type::Formula:
                n->kind = FormulaNode::Kind::Formula;
                n->name = t.name;
                take();
                return n;
            case Token::Type::Text:
                n->kind = FormulaNode::Kind::Text;
                n->value = t.text;
                take();
                return n;
            case Token::Type::Number:
            case Token::Type::Minus: {
                const bool negative = t.type == Token::Type::Minus;
                if (negative) {
                    take();
                    if (peek().type != Token::Type::Number)
                        return fail(QStringLiteral("se esperaba un número %1").arg(where()));
                }
                const QString digits = take().text;
                n->kind = FormulaNode::Kind::Number;
                if (digits.contains('.'))
                    n->value = (negative ? -1.0 : 1.0) * digits.toDouble();
                else {
                    bool ok = false;
                    const qlonglong v = digits.toLongLong(&ok);
                    if (!ok) return fail(QStringLiteral("número demasiado grande: %1").arg(digits));
                    n->value = negative ? -v : v;
                }
                return n;
            }
            case Token::Type::LParen: {
                take();
                NodePtr inner = parseOr(depth + 1);
                if (!inner) return nullptr;
                if (peek().type != Token::Type::RParen)
                    return fail(QStringLiteral("falta cerrar un paréntesis %1").arg(where()));
                take();
                return inner;
            }
            case Token::Type::End:
                return fail(QStringLiteral("la fórmula termina antes de tiempo"));
            case Token::Type::Word:
                return fail(QStringLiteral("palabra inesperada «%1» en la posición %2")
                                .arg(t.text)
                                .arg(t.pos));
            default:
                return fail(QStringLiteral("se esperaba un campo, un texto o un número en la "
                                           "posición %1")
                                .arg(t.pos));
        }
    }

    NodePtr parseList(const NodePtr& field, bool like) {
        auto n = std::make_shared<FormulaNode>();
        n->kind = like ? FormulaNode::Kind::Like : FormulaNode::Kind::InList;
        n->children = {field};
        if (peek().type == Token::Type::Text && like) {  // like "AB%"
            n->list << take().text;
            return n;
        }
        if (peek().type != Token::Type::LBracket)
            return fail(QStringLiteral("se esperaba «[» %1").arg(where()));
        take();
        while (true) {
            if (peek().type != Token::Type::Text)
                return fail(QStringLiteral("se esperaba un texto entre comillas %1").arg(where()));
            n->list << take().text;
            if (peek().type == Token::Type::Comma) {
                take();
                continue;
            }
            if (peek().type == Token::Type::RBracket) {
                take();
                return n;
            }
            return fail(QStringLiteral("falta cerrar la lista con «]» %1").arg(where()));
        }
    }

    // DateTime (y,m,d,hh, mm, ss) or Date (y,m,d); only the day counts.
    std::optional<QDate> parseDate() {
        if (!isWord("datetime") && !isWord("date")) {
            fail(QStringLiteral("se esperaba «DateTime (» %1").arg(where()));
            return std::nullopt;
        }
        const bool withTime = isWord("datetime");
        take();
        if (peek().type != Token::Type::LParen) {
            fail(QStringLiteral("se esperaba «(» %1").arg(where()));
            return std::nullopt;
        }
        take();
        const int count = withTime ? 6 : 3;
        int parts[6] = {0, 0, 0, 0, 0, 0};
        for (int k = 0; k < count; ++k) {
            if (k > 0) {
                if (peek().type != Token::Type::Comma) {
                    fail(QStringLiteral("se esperaba una coma en la fecha %1").arg(where()));
                    return std::nullopt;
                }
                take();
            }
            if (peek().type != Token::Type::Number || peek().text.contains('.') ||
                peek().text.size() > 4) {
                fail(QStringLiteral("se esperaba un número en la fecha %1").arg(where()));
                return std::nullopt;
            }
            parts[k] = take().text.toInt();
        }
        if (peek().type != Token::Type::RParen) {
            fail(QStringLiteral("falta cerrar el paréntesis de la fecha %1").arg(where()));
            return std::nullopt;
        }
        take();
        const QDate d(parts[0], parts[1], parts[2]);
        if (!d.isValid() || parts[0] < 1000 || parts[3] > 23 || parts[4] > 59 || parts[5] > 59) {
            fail(QStringLiteral("fecha no válida: %1/%2/%3")
                     .arg(parts[2])
                     .arg(parts[1])
                     .arg(parts[0]));
            return std::nullopt;
        }
        return d;
    }

    NodePtr parseDateRange(const NodePtr& field) {
        auto n = std::make_shared<FormulaNode>();
        n->kind = FormulaNode::Kind::DateRange;
        n->children = {field};
        const auto from = parseDate();
        if (!from) return nullptr;
        if (!isWord("to")) return fail(QStringLiteral("se esperaba «to» %1").arg(where()));
        take();
        const auto to = parseDate();
        if (!to) return nullptr;
        n->from = *from;
        n->to = *to;
        return n;
    }

    const std::vector<Token>& t_;
    size_t i_ = 0;
    QString* error_;
};

struct SqlWriter {
    const FieldResolver& fields;
    QString* error;
    QVariantList params;

    std::optional<QString> operand(const FormulaNode& n) {
        switch (n.kind) {
            case FormulaNode::Kind::Field:
                return fields.fieldSql(n.table, n.name, error);
            case FormulaNode::Kind::Formula:
                return fields.formulaSql(n.name, error);
            case FormulaNode::Kind::Text:
            case FormulaNode::Kind::Number:
                params << n.value;
                return QStringLiteral("?");
            default:
                return write(n);
        }
    }

    std::optional<QString> write(const FormulaNode& n) {
        using K = FormulaNode::Kind;
        switch (n.kind) {
            case K::Or:
            case K::And: {
                const auto a = write(*n.children[0]);
                if (!a) return std::nullopt;
                const auto b = write(*n.children[1]);
                if (!b) return std::nullopt;
                return QStringLiteral("(%1 %2 %3)").arg(*a, n.kind == K::Or ? "OR" : "AND", *b);
            }
            case K::Not: {
                const auto a = write(*n.children[0]);
                if (!a) return std::nullopt;
                return QStringLiteral("(NOT %1)").arg(*a);
            }
            case K::Compare: {
                const auto a = operand(*n.children[0]);
                if (!a) return std::nullopt;
                const auto b = operand(*n.children[1]);
                if (!b) return std::nullopt;
                return QStringLiteral("(%1 %2 %3)").arg(*a, n.op, *b);
            }
            case K::Like:
            case K::InList: {
                const auto f = operand(*n.children[0]);
                if (!f) return std::nullopt;
                QStringList parts;
                for (const QString& item : n.list) {
                    params << item;
                    parts << (n.kind == K::Like ? QStringLiteral("%1 LIKE ?").arg(*f)
                                                : QStringLiteral("%1 = ?").arg(*f));
                }
                return QStringLiteral("(%1)").arg(parts.join(QStringLiteral(" OR ")));
            }
            case K::DateRange: {
                const auto f = operand(*n.children[0]);
                if (!f) return std::nullopt;
                // Dates are stored as ISO text; comparing with the next day keeps the
                // whole last day even when a value carries a time.
                params << toIsoDate(n.from) << toIsoDate(n.to.addDays(1));
                return QStringLiteral("(%1 >= ? AND %1 < ?)").arg(*f);
            }
            case K::Field:
            case K::Formula:
                return operand(n);
            case K::Text:
            case K::Number:
                *error = QStringLiteral("un valor solo no es una condición");
                return std::nullopt;
        }
        return std::nullopt;
    }
};

void describeInto(const FormulaNode& n, QStringList* out) {
    using K = FormulaNode::Kind;
    if (n.kind == K::And) {
        describeInto(*n.children[0], out);
        describeInto(*n.children[1], out);
        return;
    }
    if (n.kind == K::DateRange) {
        *out << QStringLiteral("Del %1 al %2").arg(formatDate(n.from), formatDate(n.to));
        return;
    }
    const FormulaNode* field = n.children.empty() ? nullptr : n.children[0].get();
    if (!field || field->kind != K::Field) return;
    // A key means nothing on paper; the listing shows whose rows they are.
    if (field->name.startsWith(QLatin1String("Id"), Qt::CaseInsensitive)) return;
    if (n.kind == K::Compare && n.op == QLatin1String("=") &&
        (n.children[1]->kind == K::Text || n.children[1]->kind == K::Number))
        *out << QStringLiteral("%1: %2").arg(field->name, n.children[1]->value.toString());
    else if (n.kind == K::Like || n.kind == K::InList)
        *out << QStringLiteral("%1: %2").arg(field->name, n.list.join(QStringLiteral(", ")));
}

}  // namespace

std::optional<SelectionFormula> SelectionFormula::parse(const QString& text, QString* error) {
    SelectionFormula f;
    f.text_ = text;
    if (text.trimmed().isEmpty()) return f;
    std::vector<Token> tokens;
    QString problem;
    Lexer lexer(text);
    if (!lexer.run(&tokens, &problem)) {
        if (error) *error = problem;
        return std::nullopt;
    }
    Parser parser(tokens, &problem);
    f.root_ = parser.parseAll();
    if (!f.root_) {
        if (error) *error = problem.isEmpty() ? QStringLiteral("fórmula no válida") : problem;
        return std::nullopt;
    }
    return f;
}

std::optional<SqlCondition> SelectionFormula::toSql(const FieldResolver& fields,
                                                    QString* error) const {
    if (!root_) return SqlCondition{};
    QString problem;
    SqlWriter writer{fields, &problem, {}};
    const auto sql = writer.write(*root_);
    if (!sql) {
        if (error) *error = problem;
        return std::nullopt;
    }
    return SqlCondition{*sql, writer.params};
}

QString SelectionFormula::describe() const {
    if (!root_) return {};
    QStringList parts;
    describeInto(*root_, &parts);
    return parts.join(QStringLiteral("   "));
}

}  // namespace torvane::reports
