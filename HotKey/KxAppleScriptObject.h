#pragma once
// A script compiled and run by the platform's script runner. The runner is a
// port so that tests see the exact texts.
#include <memory>
#include <string>

namespace tsyhotkey {

class ScriptEngine {
public:
    virtual ~ScriptEngine() = default;
    // True when the text is a script the engine can run.
    virtual bool compile(const std::string& source) = 0;
    // True when the script ran without error.
    virtual bool execute(const std::string& source) = 0;
};

class KxAppleScriptObject {
public:
    // A compiled script, or nullptr when compilation fails.
    static std::unique_ptr<KxAppleScriptObject> appleScriptObjectWithString(ScriptEngine& engine,
                                                                            std::string source);
    bool execute();

private:
    KxAppleScriptObject(ScriptEngine& engine, std::string source)
        : engine_(engine), source_(std::move(source)) {}

    ScriptEngine& engine_;
    std::string source_;
};

} // namespace tsyhotkey
