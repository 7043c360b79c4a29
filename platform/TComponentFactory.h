#pragma once

#include <QString>
#include <functional>
#include <map>

class TComponent;
class TForm;

// Creates components by class name for the form reader. A creator gets the form and the
// component that the new one is nested in (the form itself at the top level) and returns
// the new component, owned through its Qt parent; it throws EReadError when the new
// component cannot live inside that parent.
class TComponentFactory {
public:
    using TCreator = std::function<TComponent*(TForm& form, TComponent& parent)>;

    // The registry with every component class of the platform.
    static const TComponentFactory& Standard();

    void Register(const QString& className, TCreator creator);
    // Null for a class that is not registered.
    TComponent* Create(const QString& className, TForm& form, TComponent& parent) const;

private:
    std::map<QString, TCreator> creators_;
};
