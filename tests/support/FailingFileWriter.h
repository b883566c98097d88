// The real file operations, one of which fails when its turn comes: for the tests of writes
// that must leave the old files as they were.
#pragma once

#include "FileWriter.h"

class FailingFileWriter : public FileWriter
{
public:
    enum Operation
    {
        kWriteTemporary,
        kKeepCopy,
        kReplace
    };
    static constexpr const char* kFailure = "injected failure";

    // From now on, the call-th call of the operation (counting from 1) fails with kFailure.
    void failAt(Operation operation, int call);

    bool writeTemporary(const std::string& path, const std::string& content, std::string& temporary,
                        std::string& error) override;
    bool keepCopy(const std::string& path, std::string& copy, std::string& error) override;
    bool replace(const std::string& from, const std::string& to, std::string& error) override;

private:
    bool mayGoOn(Operation operation, std::string& error);

    Operation failing = kWriteTemporary;
    int failingCall = 0;  // 0: none fails
    int calls = 0;
};
