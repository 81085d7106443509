#include "gcode/expression.h"

#include <cmath>
#include <cstddef>
#include <optional>

#include "app/text.h"
#include "gcode/word_number.h"

namespace tessaro {

namespace {

// Parentheses and unary signs nest at most this deep; deeper text ends the expression,
// so that no input can exhaust the stack.
constexpr int kMaxNesting = 200;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsLower(char c) { return c >= 'a' && c <= 'z'; }

double VariableValue(char letter, const MacroParameters& params) {
  const int k = (IsLower(letter) ? letter - 'a' : letter - 'A') + 1;
  return k >= 1 && k <= 19 ? params[k] : 0.0;
}

// Recursive descent over
//   expression := term { ("+" | "-") term }
//   term       := unary { ("*" | "/") unary }
//   unary      := ("-" | "+") unary | primary
//   primary    := number | letter | "(" expression ")"
// An operator whose right side does not parse is left unread: the result is the
// value of the longest leading expression.
class Parser {
 public:
  Parser(std::string_view text, const MacroParameters& params) : text_(text), params_(params) {}

  std::optional<double> Expression(int depth) {
    return LeftToRight(depth, '+', '-', &Parser::Term);
  }

 private:
  std::optional<double> Term(int depth) { return LeftToRight(depth, '*', '/', &Parser::Unary); }

  // operand { (op1 | op2) operand }, applied left to right.
  std::optional<double> LeftToRight(int depth, char op1, char op2,
                                    std::optional<double> (Parser::*operand)(int)) {
    std::optional<double> left = (this->*operand)(depth);
    if (!left) return std::nullopt;
    while (true) {
      const std::size_t mark = pos_;
      SkipBlanks();
      const char op = Peek();
      if (op != op1 && op != op2) {
        pos_ = mark;
        return left;
      }
      ++pos_;
      const std::optional<double> right = (this->*operand)(depth);
      if (!right) {
        pos_ = mark;
        return left;
      }
      left = Apply(op, *left, *right);
    }
  }

  static double Apply(char op, double left, double right) {
    if (op == '+') return left + right;
    if (op == '-') return left - right;
    return op == '*' ? left * right : left / right;
  }

  std::optional<double> Unary(int depth) {
    if (depth > kMaxNesting) return std::nullopt;
    const std::size_t mark = pos_;
    SkipBlanks();
    const char sign = Peek();
    if (sign != '-' && sign != '+') return Primary(depth);
    ++pos_;
    const std::optional<double> operand = Unary(depth + 1);
    if (!operand) {
      pos_ = mark;
      return std::nullopt;
    }
    return sign == '-' ? -*operand : *operand;
  }

  std::optional<double> Primary(int depth) {
    const std::size_t mark = pos_;
    SkipBlanks();
    const char c = Peek();
    if (c == '(') {
      ++pos_;
      const std::optional<double> inner = Expression(depth + 1);
      SkipBlanks();
      if (!inner || Peek() != ')') {
        pos_ = mark;
        return std::nullopt;
      }
      ++pos_;
      return inner;
    }
    if (IsUpper(c) || IsLower(c)) {
      ++pos_;
      return VariableValue(c, params_);
    }
    const PlainDecimal number = ReadPlainDecimal(text_.substr(pos_));
    if (number.length == 0) {
      pos_ = mark;
      return std::nullopt;
    }
    pos_ += number.length;
    return number.value;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
  }
  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

  std::string_view text_;
  const MacroParameters& params_;
  std::size_t pos_ = 0;
};

}  // namespace

double EvaluateExpression(std::string_view text, const MacroParameters& params) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  if (!text.empty() && text.front() == '=') text.remove_prefix(1);
  const std::optional<double> value = Parser(text, params).Expression(0);
  // No finite value (nothing to read, a division by zero, an overflow) counts as 0,
  // and so does -0, which would otherwise be written with its sign.
  if (!value || !std::isfinite(*value) || *value == 0) return 0;
  return *value;
}

std::string ExpandExpression(std::string_view piece, const MacroParameters& params) {
  if (piece.empty()) return "";
  std::size_t letter = 0;
  while (letter < piece.size() && !IsUpper(piece[letter])) ++letter;
  std::string expanded = FormatShortest(EvaluateExpression(piece.substr(0, letter), params));
  if (letter < piece.size()) {
    expanded += ' ';
    expanded += piece.substr(letter);
  }
  return expanded;
}

}  // namespace tessaro
