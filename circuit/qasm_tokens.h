#pragma once
// Tokens of an OpenQASM 2.0 text: identifiers, numbers, strings and symbols, each with the line
// it stands on. Comments ("//" to the end of the line, "/* ... */") and white space are dropped.

#include <string>
#include <vector>

namespace qasm {

// Invalid stands for text that begins no token (a stray character, an unterminated string); its
// text is the problem. It is the last token before End, and reaching it ends the program.
enum class TokenKind { Identifier, Integer, Real, String, Symbol, Invalid, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // the token as written; a string without its quotes
    int line = 0;      // 1-based line of the token's first character
};

/// A read position in a token list that ends with an End token.
class TokenCursor {
  public:
    explicit TokenCursor(const std::vector<Token>& tokens) : tokens_(tokens) {}
    /// \brief The current token; an Invalid token ends the program with its problem.
    const Token& peek() const;
    /// \brief The current token; moves past it unless it is the End token.
    const Token& next();
    /// \brief True (and moves past it) when the current token is the symbol or identifier `text`.
    bool accept(const std::string& text);
    /// \brief Moves past the symbol or identifier `text`, or ends the program naming `what`.
    void expect(const std::string& text, const std::string& what);
    /// \brief Moves past an identifier and returns it, or ends the program naming `what`.
    const std::string& expect_identifier(const std::string& what);
    size_t position() const { return pos_; }
    void seek(size_t position) { pos_ = position; }

  private:
    const std::vector<Token>& tokens_;
    size_t pos_ = 0;
};

/// \brief Splits `text` into tokens; the list always ends with one End token. Text that begins
/// no token becomes an Invalid token, and the list stops there, so that what comes before it
/// (the version statement) is read first. O(length of the text).
std::vector<Token> tokenize(const std::string& text);

/// \brief Ends the program with the one message line "QASM line <line>: <problem>".
[[noreturn]] void error(int line, const std::string& problem);

/// \brief The token as a message shows it: quoted text, or "the end of the text".
std::string describe(const Token& token);

}  // namespace qasm
