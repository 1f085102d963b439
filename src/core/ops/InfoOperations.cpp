#include "ops/InfoOperations.h"

#include "info/ValueForms.h"

namespace varnow {

void ReadProductInfoOperation::Begin() {
    m_read.Start([this](const Outcome<ProductInfoOutcome>& outcome, const ProductInfo& info) {
        m_result = ProductInfoResult{outcome, info, {}};
        if (outcome == ProductInfoOutcome::Read) {
            m_result.unreadable = UnreadableValues(info);
        }
        End();
    });
}

void ReadNetworkInfoOperation::Begin() {
    m_read.Start([this](const Outcome<NetworkInfoOutcome>& outcome, const NetworkInfo& info) {
        m_result = NetworkInfoResult{outcome, info, {}};
        if (outcome == NetworkInfoOutcome::Read) {
            m_result.unreadable = UnreadableValues(info);
        }
        End();
    });
}

}  // namespace varnow
