#include "platform/engine/jm_engine.h"

#include <cstring>
#include <memory>
#include <mutex>

#include "platform/engine/engine_model.h"
#include "platform/engine/engine_render.h"

namespace {

// The model of the data set handed over last. A call holds on to the model it
// started with, so a setDataTable from another thread never pulls it away.
std::mutex modelMutex;
std::shared_ptr<const jm::Model> currentModel;

std::shared_ptr<const jm::Model> Current() {
    std::lock_guard lock(modelMutex);
    return currentModel;
}

// Nothing crosses the C boundary: a fault inside (no memory, a lock that cannot be
// taken) is JM_E_FAILED.
template <typename Fn>
int32_t Guarded(Fn fn) noexcept {
    try {
        return fn();
    } catch (...) {
        return JM_E_FAILED;
    }
}

int32_t Draw(jm::Function f, JmBitmap* surface, const JmBitmap* picture) {
    return Guarded([&] {
        const auto model = Current();
        if (!model) return int32_t{JM_E_NO_DATA};
        return jm::Render(model->plans[static_cast<int>(f)], surface, picture);
    });
}

}  // namespace

extern "C" {

JM_EXPORT int32_t setDataTable(const void* dataSet) {
    if (!dataSet) return JM_E_NULL;
    return Guarded([&] {
        auto model = std::make_shared<jm::Model>();
        jm::BuildModel(static_cast<const unsigned char*>(dataSet), *model);
        std::lock_guard lock(modelMutex);
        currentModel = std::move(model);
        return int32_t{JM_OK};
    });
}

JM_EXPORT int32_t getiDataTable(void* markerRecord) {
    if (!markerRecord) return JM_E_NULL;
    return Guarded([&] {
        const auto model = Current();
        if (!model) return int32_t{JM_E_NO_DATA};
        std::memcpy(markerRecord, model->markers.data(), model->markers.size());
        return int32_t{JM_OK};
    });
}

JM_EXPORT int32_t getStbSum(int32_t* sums) {
    if (!sums) return JM_E_NULL;
    return Guarded([&] {
        const auto model = Current();
        if (!model) return int32_t{JM_E_NO_DATA};
        std::memcpy(sums, model->stbSum.data(), sizeof model->stbSum);
        return int32_t{JM_OK};
    });
}

#define JM_IMAGE_FUNCTION(name)                                          \
    JM_EXPORT int32_t name(JmBitmap* surface, const JmBitmap* picture) { \
        return Draw(jm::Function::name, surface, picture);               \
    }

JM_IMAGE_FUNCTION(cGammaTempY)
JM_IMAGE_FUNCTION(cGammaTempM)
JM_IMAGE_FUNCTION(cGammaTempC)
JM_IMAGE_FUNCTION(gGammaTempY)
JM_IMAGE_FUNCTION(gGammaTempM)
JM_IMAGE_FUNCTION(gGammaTempC)
JM_IMAGE_FUNCTION(cGammaDisp)
JM_IMAGE_FUNCTION(gGammaDisp)
JM_IMAGE_FUNCTION(cgGammaDisp)
JM_IMAGE_FUNCTION(ccgGammaDisp)
JM_IMAGE_FUNCTION(iGammaImpY)
JM_IMAGE_FUNCTION(iGammaImpM)
JM_IMAGE_FUNCTION(iGammaImpC)
JM_IMAGE_FUNCTION(iGammaDisp)
JM_IMAGE_FUNCTION(ciGammaDisp)
JM_IMAGE_FUNCTION(oGammaDisp)
JM_IMAGE_FUNCTION(coGammaDisp)
JM_IMAGE_FUNCTION(dGammaDisp)
JM_IMAGE_FUNCTION(cdGammaDisp)
JM_IMAGE_FUNCTION(pDataSim)
JM_IMAGE_FUNCTION(hDataSim)

#undef JM_IMAGE_FUNCTION

}  // extern "C"
