#pragma once
// Line-level handling shared by the readers of the program's text files (netlist, price file,
// sequence cache, layout) and the netlist text rewrites: numbered lines, tokens split at blank,
// tab, newline and carriage return with a line-length limit per file, strict number parsing, and
// number formatting.

#include <string>
#include <string_view>
#include <vector>

namespace netlist {

/// Longest line a netlist file handed to the program may hold (the historical 100-byte line
/// buffer).
constexpr size_t kMaxLineLength = 99;

/// \brief Ends the program with a message naming the first line of `text` longer than
/// kMaxLineLength characters (a carriage return before the newline not counted), if any.
/// NOTE: the limit is checked on the program's input only. Texts that the program writes itself
/// can hold longer lines (long qubit names with 16-digit angles) and are read whole.
void check_line_lengths(const std::string& text);

/// Walks a text line by line. Lines end at a newline; one carriage return before it is dropped,
/// so CR-LF texts read like LF texts. A last line without a newline is still a line.
/// Views stay valid as long as the text does. O(1) per character.
class LineReader {
  public:
    explicit LineReader(const std::string& text) : text_(text) {}
    /// \brief Next line into `line`; false at the end of the text.
    bool next(std::string_view& line);
    /// \brief 1-based number of the line last returned.
    int line_number() const { return number_; }

  private:
    const std::string& text_;
    size_t pos_ = 0;
    int number_ = 0;
};

/// Token separators of the program's text files.
constexpr std::string_view kSeparators = " \n\t\r";
/// The white space of the C locale, which the layout file is split at.
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";
/// A line-length limit that every line meets.
constexpr size_t kAnyLength = std::string_view::npos;

/// \brief The tokenizer of every line-based reader: splits `line` at `separators` into `tokens`
/// (cleared first) and returns true, or returns false with no tokens when the line is longer than
/// `max_length` characters. A line of separators only gives no token. Tokens view `line`.
bool tokenize_line(std::string_view line, size_t max_length, std::vector<std::string_view>& tokens,
                   std::string_view separators = kSeparators);

/// \brief Splits `line` at blanks, tabs, newlines and carriage returns into `tokens` (cleared
/// first), whatever its length. A line of separators only gives no token.
void tokenize(std::string_view line, std::vector<std::string_view>& tokens);

/// \brief True when the tokens make a comment line (first token exactly "#").
bool is_comment(const std::vector<std::string_view>& tokens);

/// \brief Parses a whole token as a finite decimal number (no trailing text, no nan or inf).
bool parse_number(std::string_view token, double& value);

/// \brief Parses a whole token as a decimal integer that fits in an int.
bool parse_int(std::string_view token, int& value);

/// \brief Shortest decimal form (up to 17 significant digits) that reads back to the same
/// double; -0.0 is written "-0".
std::string format_exact(double value);

/// \brief The form of a number in a text that the program reads back itself: 16 significant
/// digits (as the program writes its files) when they read back to the same double, else 17,
/// which always do. -0.0 is written "-0".
std::string format_round_trip(double value);

/// \brief Ends the program with one message line naming the netlist line and its problem:
/// Netlist line <number> ("<line>"): <problem>
[[noreturn]] void line_error(int number, std::string_view line, const std::string& problem);

}  // namespace netlist
