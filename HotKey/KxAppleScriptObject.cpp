#include "HotKey/KxAppleScriptObject.h"

namespace tsyhotkey {

std::unique_ptr<KxAppleScriptObject>
KxAppleScriptObject::appleScriptObjectWithString(ScriptEngine& engine, std::string source) {
    if (!engine.compile(source))
        return nullptr;
    return std::unique_ptr<KxAppleScriptObject>(new KxAppleScriptObject(engine, std::move(source)));
}

bool KxAppleScriptObject::execute() {
    return engine_.execute(source_);
}

} // namespace tsyhotkey
