#pragma once

#include <string>
#include <vector>

#include "info/NetworkInfoRead.h"
#include "info/ProductInfoRead.h"
#include "ops/Operation.h"

namespace varnow {

struct ProductInfoResult {
    Outcome<ProductInfoOutcome> outcome;
    ProductInfo info;
    std::vector<std::string> unreadable;  // values that came damaged
};

// Read what the board tells about itself: "Product/Firmware information".
class ReadProductInfoOperation : public Operation {
public:
    explicit ReadProductInfoOperation(BoardContext& board)
        : Operation(board), m_read(board.link(), messenger()) {}

    const ProductInfoResult& result() const { return m_result; }
    bool succeeded() const override {
        return m_result.outcome == ProductInfoOutcome::Read && m_result.unreadable.empty();
    }

private:
    void Begin() override;

    ProductInfoRead m_read;
    ProductInfoResult m_result;
};

struct NetworkInfoResult {
    Outcome<NetworkInfoOutcome> outcome;
    NetworkInfo info;
    std::vector<std::string> unreadable;
};

// Read the board's network report: "Network information".
class ReadNetworkInfoOperation : public Operation {
public:
    explicit ReadNetworkInfoOperation(BoardContext& board)
        : Operation(board), m_read(board.link(), messenger()) {}

    const NetworkInfoResult& result() const { return m_result; }
    bool succeeded() const override {
        return m_result.outcome == NetworkInfoOutcome::Read && m_result.unreadable.empty();
    }

private:
    void Begin() override;

    NetworkInfoRead m_read;
    NetworkInfoResult m_result;
};

}  // namespace varnow
