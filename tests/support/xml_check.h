#pragma once
// A well-formedness check of XML texts for tests: one root element, tags properly nested and
// closed, attributes quoted, only the five predefined entities or numeric references, no
// stray "<" or "&". Enough to catch a broken writer; not a validating parser.

#include <string>

namespace testxml {

/// \brief "" when `text` is well-formed, else the first problem and its byte offset.
std::string well_formedness_problem(const std::string& text);

}  // namespace testxml
