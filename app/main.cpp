// Зорквента: supersonic flow past a wedge, solved on the shock polar.
#include "Application.h"
#include "Startup.h"

int main(int argc, char** argv) {
    zk::Application application(argc, argv);
    zk::InitialiseApplication(application);
    zk::CreateWindows();
    return application.exec();
}
