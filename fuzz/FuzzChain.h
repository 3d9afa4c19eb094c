#pragma once
// Runs a chain over a few names of every kind and checks that a writable name
// stays writable.
#include "MRVN7x/actions/ActionContext.h"
#include "MRVN7x/actions/CompositeRenameAction.h"
#include "MRVN7x/engine/FileManager.h"
#include "fuzz/FuzzSupport.h"
#include "platform/PathText.h"

namespace morvane::fuzz {

inline void runChainOverNames(CompositeRenameAction& chain) {
    static const std::u16string names[] = {
        u"photo 12.JPG", u"a.b.c",           u"",   u".hidden", u"\u00e9t\u00e9 2007.txt",
        u"\U0001F600 x", u"bad \xDCFF byte", u"..", u"   ",     u"CON"};
    for (const auto& name : names) {
        InputContext input{"/folder/" + *PathText::fileNameFromDisplayName(name), name,
                           &FileManager::instance()};
        OutputContext output;
        chain.executeWithInputContext(input, output);
        if (!PathText::isEncodable(output.newName))
            fail("the chain made a name that cannot be written");
    }
}

} // namespace morvane::fuzz
