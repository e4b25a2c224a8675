// Reading a statement's transactions through libofx's callbacks.
#include "platform/ofx/OfxStatement.h"

#include <libofx/libofx.h>

#include <cmath>
#include <ctime>
#include <memory>

namespace ofx {

namespace {

struct ContextDeleter {
    void operator()(void* context) const { libofx_free_context(context); }
};

int TakeTransaction(const struct OfxTransactionData data, void* collected)
{
    auto& transactions = *static_cast<std::vector<Transaction>*>(collected);
    Transaction transaction;
    transaction.number = static_cast<long>(transactions.size()) + 1;
    if (data.date_posted_valid) {
        std::tm local{};
        const std::time_t posted = data.date_posted;
        localtime_r(&posted, &local);
        transaction.posted = ole::DateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    }
    if (data.amount_valid)
        transaction.amount = ole::Currency::fromRaw(std::llround(data.amount * ole::Currency::kScale));
    else
        transaction.amount = ole::Currency::invalid();
    if (data.name_valid)
        transaction.name = data.name;
    if (data.memo_valid)
        transaction.memo = data.memo;
    if (data.check_number_valid)
        transaction.checkNumber = data.check_number;
    transactions.push_back(std::move(transaction));
    return 0;
}

}  // namespace

bool LooksLikeOfx(const std::string& bytes)
{
    const std::string head = bytes.substr(0, 4096);
    return head.find("OFXHEADER") != std::string::npos || head.find("<OFX>") != std::string::npos;
}

std::vector<Transaction> ReadStatement(const std::string& path)
{
    // libofx reports to the console unless told not to.
    ofx_PARSER_msg = ofx_DEBUG_msg = ofx_DEBUG1_msg = ofx_DEBUG2_msg = ofx_DEBUG3_msg = ofx_DEBUG4_msg = ofx_DEBUG5_msg = 0;
    ofx_STATUS_msg = ofx_INFO_msg = ofx_WARNING_msg = ofx_ERROR_msg = 0;
    const std::unique_ptr<void, ContextDeleter> context(libofx_get_new_context());
    std::vector<Transaction> transactions;
    ofx_set_transaction_cb(context.get(), TakeTransaction, &transactions);
    if (libofx_proc_file(context.get(), path.c_str(), AUTODETECT) != 0)
        throw std::runtime_error("libofx cannot read it as an OFX statement");
    return transactions;
}

}  // namespace ofx
