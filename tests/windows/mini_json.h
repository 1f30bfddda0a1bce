// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Tarvelo developers

#pragma once

// Just enough JSON for tests/scenarios.json, on a side that has no toolkit:
// objects, arrays, strings with the common escapes, numbers, true, false
// and null. A malformed text throws std::runtime_error.

#include <cctype>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace mini_json {

struct Value {
    std::string text;  // a string
    double number = 0;
    bool boolean = false;
    std::vector<Value> array;
    std::map<std::string, Value> object;

    bool has(const std::string& key) const { return object.count(key) != 0; }
    const Value& at(const std::string& key) const
    {
        const auto found = object.find(key);
        if (found == object.end())
            throw std::runtime_error("no \"" + key + "\" in the JSON object");
        return found->second;
    }
};

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) {}

    Value value()
    {
        Value result;
        switch (peek()) {
        case '{':
            ++at_;
            while (peek() != '}') {
                std::string key = string();
                expect(':');
                result.object[key] = value();
                if (peek() == ',')
                    ++at_;
            }
            ++at_;
            return result;
        case '[':
            ++at_;
            while (peek() != ']') {
                result.array.push_back(value());
                if (peek() == ',')
                    ++at_;
            }
            ++at_;
            return result;
        case '"': result.text = string(); return result;
        case 't':
            word("true");
            result.boolean = true;
            return result;
        case 'f': word("false"); return result;
        case 'n': word("null"); return result;
        default: {
            char* end = nullptr;
            result.number = std::strtod(text_.c_str() + at_, &end);
            if (end == text_.c_str() + at_)
                throw std::runtime_error("bad JSON at " + std::to_string(at_));
            at_ = static_cast<std::size_t>(end - text_.c_str());
            return result;
        }
        }
    }

private:
    char peek()
    {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
        if (at_ >= text_.size())
            throw std::runtime_error("the JSON text ends early");
        return text_[at_];
    }
    void expect(char wanted)
    {
        if (peek() != wanted)
            throw std::runtime_error(std::string("JSON: expected ") + wanted + " at " + std::to_string(at_));
        ++at_;
    }
    void word(const char* wanted)
    {
        if (text_.compare(at_, std::char_traits<char>::length(wanted), wanted) != 0)
            throw std::runtime_error("bad JSON word at " + std::to_string(at_));
        at_ += std::char_traits<char>::length(wanted);
    }
    // UTF-8 passes through as it is; \uXXXX is not needed by the list.
    std::string string()
    {
        expect('"');
        std::string result;
        while (at_ < text_.size() && text_[at_] != '"') {
            char c = text_[at_++];
            if (c == '\\' && at_ < text_.size()) {
                c = text_[at_++];
                c = c == 'n' ? '\n' : c == 't' ? '\t' : c;
            }
            result += c;
        }
        expect('"');
        return result;
    }

    const std::string& text_;
    std::size_t at_ = 0;
};

inline Value parse(const std::string& text)
{
    return Parser(text).value();
}

}  // namespace mini_json
