#include "base/app_state.h"

#include "base/session_gate.h"
#include "base/vb_form.h"
#include "engine/j_session.h"

#include <algorithm>

AppState::AppState(Ports ports) : m_ports(std::move(ports)), m_history(m_ports.historyFile) {}

AppState::~AppState() {
    m_gate.reset();
    m_session.reset();
}

IJEngine& AppState::J() const { return *m_session; }

bool AppState::CreateEngine(QString* error) {
    if (m_session) return true;
    if (!m_ports.engineFactory) {
        if (error) *error = QStringLiteral("J エンジンがありません。");
        return false;
    }
    m_session = JSession::start(m_ports.engineFactory, error);
    if (!m_session) return false;
    m_gate = std::make_unique<SessionGate>(*m_session);
    return true;
}

void AppState::FillMatrixColors() {
    static constexpr std::array<double, 27> kColors = {
        0,       12648447, 12648384, 16761024, 16761087, 12640511, 12632319, 14737632, 16777152,
        8454143, 8454016,  16744576, 16744703, 8438015,  8421631,  12632256, 16777088, 4259839,
        4259584, 16711680, 16711935, 4227327,  255,      8421504,  16776960, 33603776, 2146304};
    MatrixColors = kColors;
}

void AppState::formLoaded(VbForm* form) {
    formUnloaded(form);
    m_loaded.emplace_back(form);
}

void AppState::formUnloaded(VbForm* form) {
    std::erase_if(m_loaded, [form](const QPointer<VbForm>& p) { return p.isNull() || p.data() == form; });
}

std::vector<VbForm*> AppState::loadedForms() const {
    std::vector<VbForm*> out;
    for (const auto& p : m_loaded)
        if (p) out.push_back(p.data());
    return out;
}
