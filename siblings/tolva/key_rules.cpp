#include "siblings/tolva/key_rules.h"

#include "siblings/tolva/text_codec.h"
#include "siblings/venit/venit.h"

namespace tolva {

namespace {

constexpr char kSeparator = '/';

bool HasEmptyPart(std::string_view key) {
    return key.ends_with(kSeparator) || key.find("//") != std::string_view::npos;
}

// One definition of a control character for the store and the log: the log's escaping
// changes exactly those bytes.
bool HasControlCharacter(std::string_view key) {
    return venit::EscapeControlCharacters(key) != key;
}

}  // namespace

KeyProblem CheckKey(const char* key) {
    return key == nullptr ? KeyProblem::Null : CheckKey(std::string_view(key));
}

KeyProblem CheckKey(std::string_view key) {
    if (key.empty()) {
        return KeyProblem::Empty;
    }
    if (!key.starts_with(kKeyRoot)) {
        return KeyProblem::OutsideRoot;
    }
    if (HasEmptyPart(key)) {
        return KeyProblem::EmptyPart;
    }
    if (!IsValidUtf8(key)) {
        return KeyProblem::NotUtf8;
    }
    if (HasControlCharacter(key)) {
        return KeyProblem::ControlCharacter;
    }
    return KeyProblem::None;
}

std::string_view DescribeKeyProblem(KeyProblem problem) {
    switch (problem) {
        case KeyProblem::None:
            return "valid";
        case KeyProblem::Null:
            return "null";
        case KeyProblem::Empty:
            return "empty";
        case KeyProblem::OutsideRoot:
            return "not under config/";
        case KeyProblem::EmptyPart:
            return "empty part";
        case KeyProblem::NotUtf8:
            return "not UTF-8";
        case KeyProblem::ControlCharacter:
            return "control character";
    }
    return "unknown";
}

bool IsInTree(std::string_view key, std::string_view root) {
    return key.starts_with(root) && (key.size() == root.size() || key[root.size()] == kSeparator);
}

}  // namespace tolva
