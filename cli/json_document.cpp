#include "cli/json_document.h"

#include <set>
#include <vector>

namespace zrv::cli {
namespace {

/// Builds the document from the parser's events, bottom up: each open
/// object or array is its own value until it closes and moves into its
/// parent, so no reference into a growing container is ever kept.
class DocumentBuilder : public nlohmann::json_sax<Json> {
public:
    Json root;
    std::string error;

    bool null() override { return put(Json(nullptr)); }
    bool boolean(bool v) override { return put(Json(v)); }
    bool number_integer(number_integer_t v) override { return put(Json(v)); }
    bool number_unsigned(number_unsigned_t v) override { return put(Json(v)); }
    bool number_float(number_float_t v, const string_t&) override { return put(Json(v)); }
    bool string(string_t& v) override { return put(Json(std::move(v))); }
    bool binary(binary_t&) override { return fail("binary values are not JSON text"); }

    bool start_object(std::size_t) override { return open(Json::object()); }
    bool key(string_t& k) override {
        Frame& f = stack_.back();
        if (!f.keys.insert(k).second) {
            const std::string where = path(stack_.size() - 1);
            return fail(where + (where.empty() ? "" : ".") + k + ": the key is given twice");
        }
        f.key = std::move(k);
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_array() override { return close(); }

    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override {
        // A number beyond a double arrives here as well as bad syntax.
        return fail(e.what());
    }

private:
    struct Frame {
        Json value;
        std::string key;
        std::set<std::string> keys;
    };
    std::vector<Frame> stack_;

    bool fail(const std::string& why) {
        if (error.empty()) error = why;
        return false;
    }

    /// Where the parser is within the first \p frames open values:
    /// "fields.prompts", "image[2].bytes".
    std::string path(std::size_t frames) const {
        std::string p;
        for (std::size_t i = 0; i < frames; ++i) {
            const Frame& f = stack_[i];
            if (f.value.is_array())
                p += "[" + std::to_string(f.value.size()) + "]";
            else
                p += (p.empty() ? "" : ".") + f.key;
        }
        return p;
    }

    bool open(Json empty) {
        if (stack_.size() >= kMaxJsonDepth)
            return fail(path(stack_.size()) + ": nested deeper than " + std::to_string(kMaxJsonDepth) + " levels");
        stack_.push_back(Frame{std::move(empty), {}, {}});
        return true;
    }
    bool close() {
        Json value = std::move(stack_.back().value);
        stack_.pop_back();
        return put(std::move(value));
    }
    bool put(Json value) {
        if (stack_.empty()) {
            root = std::move(value);
            return true;
        }
        Frame& f = stack_.back();
        if (f.value.is_array())
            f.value.push_back(std::move(value));
        else
            f.value[f.key] = std::move(value);
        return true;
    }
};

}  // namespace

bool ReadJsonDocument(std::istream& in, Json& doc, std::string& error) {
    DocumentBuilder builder;
    bool ok = false;
    try {
        ok = Json::sax_parse(in, &builder);
    } catch (const std::exception& e) {  // nothing of the document ends the program
        builder.error = e.what();
        ok = false;
    }
    if (!ok) {
        error = builder.error.empty() ? "the text is not JSON" : builder.error;
        doc = Json();
        return false;
    }
    doc = std::move(builder.root);
    return true;
}

}  // namespace zrv::cli
