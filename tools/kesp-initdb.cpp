// Creates a new Kesp database: DIR/data.dat for the local mode, or the tables
// and first rows in an empty PostgreSQL database for the shared mode.

#include "common/exceptions.h"
#include "data/schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);

    try {
        if (args.size() == 2 && args[0] == QLatin1String("--postgresql")) {
            CreatePostgresDatabase(args[1]);
            out << "created the Kesp tables in the PostgreSQL database\n";
            return 0;
        }
        if (args.size() == 1 && !args[0].startsWith(QLatin1String("--"))) {
            const QString fileName = QDir(args[0]).absoluteFilePath(QStringLiteral("data.dat"));
            CreateSqliteDatabase(fileName);
            out << "created " << QDir::toNativeSeparators(fileName) << '\n';
            return 0;
        }
    } catch (const Exception& error) {
        err << "kesp-initdb: " << error.Message << '\n';
        return 1;
    }
    err << "usage: kesp-initdb DIR\n"
           "       kesp-initdb --postgresql \"host=... port=... dbname=... user=... password=...\"\n";
    return 2;
}
