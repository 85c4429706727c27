#include "tests/ui/test_runner.h"

#include <QMetaMethod>
#include <QStringList>
#include <QTest>
#include <cstdio>
#include <string_view>
#include <vector>

#include "tests/ui/test_application.h"

namespace paylark::test {
namespace {

// The private slots QTest runs as test functions: all but its set-up and clean-up hooks.
QStringList TestFunctions(const QObject& object) {
  static const QStringList hooks = {"init", "cleanup", "initTestCase", "cleanupTestCase",
                                    "initTestCase_data"};
  const QMetaObject& meta = *object.metaObject();
  QStringList names;
  for (int index = meta.methodOffset(); index < meta.methodCount(); ++index) {
    const QMetaMethod method = meta.method(index);
    const QString name = QString::fromLatin1(method.name());
    if (method.methodType() == QMetaMethod::Slot && method.access() == QMetaMethod::Private &&
        method.parameterCount() == 0 && !hooks.contains(name) && !name.endsWith("_data"))
      names.append(name);
  }
  return names;
}

QString ShortClassName(const QObject& object) {
  return QString::fromLatin1(object.metaObject()->className()).section(QStringLiteral("::"), -1);
}

// A function argument may carry a data tag: "Function:tag".
QString FunctionOf(const QString& argument) {
  return argument.section(QLatin1Char(':'), 0, 0);
}

int RunOne(QObject& object, const QStringList& options, const QStringList& functions,
           const char* program) {
  std::vector<QByteArray> words = {program};
  for (const QString& word : options + functions)
    words.push_back(word.toLocal8Bit());
  std::vector<char*> argv;
  argv.reserve(words.size());
  for (QByteArray& word : words)
    argv.push_back(word.data());
  return QTest::qExec(&object, static_cast<int>(argv.size()), argv.data());
}

void PrintTestNames(std::initializer_list<QObject*> classes) {
  for (const QObject* object : classes) {
    for (const QString& name : TestFunctions(*object))
      std::printf("%s.%s\n", qPrintable(ShortClassName(*object)), qPrintable(name));
  }
}

}  // namespace

int RunTestClasses(int argc, char* argv[], std::initializer_list<QObject*> classes) {
  for (int index = 1; index < argc; ++index) {
    if (std::string_view(argv[index]) == "-list-tests") {
      PrintTestNames(classes);
      return 0;
    }
  }
  // The application takes its own arguments (-platform, ...) out of argv.
  TestApplication application(argc, argv);
  QStringList known;
  for (const QObject* object : classes)
    known += TestFunctions(*object);
  QStringList options;
  QStringList selected;
  for (int index = 1; index < argc; ++index) {
    const QString argument = QString::fromLocal8Bit(argv[index]);
    (known.contains(FunctionOf(argument)) ? selected : options).append(argument);
  }

  int failures = 0;
  for (QObject* object : classes) {
    const QStringList own = TestFunctions(*object);
    QStringList functions;
    for (const QString& argument : selected) {
      if (own.contains(FunctionOf(argument)))
        functions.append(argument);
    }
    if (!selected.isEmpty() && functions.isEmpty())
      continue;
    failures += RunOne(*object, options, functions, argv[0]);
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace paylark::test
