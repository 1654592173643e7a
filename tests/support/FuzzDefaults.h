#pragma once

#include <cstring>
#include <string>
#include <vector>

// Adds libFuzzer flags of a fuzz target's own where the command line does not give them: called
// from LLVMFuzzerInitialize, which runs before libFuzzer reads its flags.
inline void AddDefaultFuzzFlags(int* argc, char*** argv, const std::vector<std::string>& flags) {
    static std::vector<std::string> kept;
    static std::vector<char*> args;
    args.assign(*argv, *argv + *argc);
    for (const std::string& flag : flags) {
        const std::string name = flag.substr(0, flag.find('=') + 1);  // "-max_len="
        bool given = false;
        for (int i = 1; i < *argc; ++i)
            given = given || std::strncmp((*argv)[i], name.c_str(), name.size()) == 0;
        if (!given) kept.push_back(flag);
    }
    for (std::string& flag : kept)
        args.push_back(flag.data());
    args.push_back(nullptr);
    *argc = static_cast<int>(args.size()) - 1;
    *argv = args.data();
}
