// Test handheld directories connected to libpalmsync.
#include "tests/support/TestHandheld.h"

#include <gtest/gtest.h>

#include <cctype>
#include <stdexcept>

#include "platform/palm/HotSyncHost.h"
#include "platform/palm/PalmBytes.h"

namespace {

void captureLine(void* context, const char* text, std::int32_t activity, std::int32_t)
{
    static_cast<TestHandheld*>(context)->m_log.push_back(LogLine{text, activity});
}

}  // namespace

TestHandheld::TestHandheld() { connect(); }

void TestHandheld::connect()
{
    if (HotSyncConnect(m_dir.path().c_str()) != 0)
        throw std::runtime_error("cannot connect the test handheld " + m_dir.path());
    HotSyncSetLogSink(captureLine, this);
}

void TestHandheld::putUser(const std::string& name) const
{
    auto db = palm::PalmDatabaseFile::Create("HotSync User", palm::FourCC("user"), palm::FourCC("psys"), palm::kAttrResDB);
    std::vector<std::uint8_t> data = textBytes(name);
    data.push_back(0);
    db.PutResource(palm::FourCC("user"), 0, std::move(data));
    put(db);
}

TestHandheld::~TestHandheld()
{
    HotSyncSetLogSink(nullptr, nullptr);
    HotSyncDisconnect();
}

void TestHandheld::put(const palm::PalmDatabaseFile& db) const
{
    std::string error;
    const std::string name = db.m_header.name + (db.IsResourceDatabase() ? ".prc" : ".pdb");
    if (!db.Save(file(name), error))
        throw std::runtime_error("cannot write " + name + ": " + error);
}

bool TestHandheld::has(const std::string& name) const
{
    return fileExists(file(name + ".pdb")) || fileExists(file(name + ".prc"));
}

palm::PalmDatabaseFile TestHandheld::load(const std::string& name) const
{
    const std::string path = fileExists(file(name + ".prc")) ? file(name + ".prc") : file(name + ".pdb");
    palm::PalmDatabaseFile db;
    std::string error;
    if (!palm::PalmDatabaseFile::Load(path, db, error)) {
        ADD_FAILURE() << "cannot load " << path << ": " << error;
        return {};
    }
    return db;
}

std::vector<std::vector<std::uint8_t>> TestHandheld::records(const std::string& name) const
{
    std::vector<std::vector<std::uint8_t>> data;
    for (const auto& record : load(name).m_records)
        data.push_back(record.data);
    return data;
}

void TestHandheld::putApplication(const std::vector<std::string>& versionTexts) const
{
    auto db = palm::PalmDatabaseFile::Create("Quillmar", palm::FourCC("appl"), palm::FourCC("Qlmr"),
                                             palm::kAttrResDB | palm::kAttrBackup);
    std::uint16_t id = 1000;
    for (const auto& text : versionTexts) {
        std::vector<std::uint8_t> data = textBytes(text);
        data.push_back(0);
        db.PutResource(palm::FourCC("tver"), id++, std::move(data));
    }
    put(db);
}

void TestHandheld::putExpenses(const std::vector<std::vector<std::uint8_t>>& records, std::uint8_t attributes) const
{
    palm::PalmDatabaseFile db;
    std::string error;
    if (!palm::PalmDatabaseFile::Load(file("Qlmr-Expenses.pdb"), db, error))
        db = palm::PalmDatabaseFile::Create("Qlmr-Expenses", palm::FourCC("DATA"), palm::FourCC("Qlmr"),
                                            palm::kAttrBackup);
    for (const auto& record : records)
        db.AppendRecord(attributes, record);
    put(db);
}

std::vector<std::uint8_t> hexBytes(const std::string& hex)
{
    std::vector<std::uint8_t> bytes;
    std::string digits;
    for (const char c : hex) {
        if (std::isxdigit(static_cast<unsigned char>(c)))
            digits += c;
    }
    if (digits.size() % 2 != 0)
        throw std::invalid_argument("odd number of hex digits");
    for (std::size_t i = 0; i < digits.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::vector<std::uint8_t> textBytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> recordBytes(const std::string& headerHex, const std::string& text)
{
    std::vector<std::uint8_t> bytes = hexBytes(headerHex);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}
