// The one place where what the engine throws is caught and put into words.
#include "app/EngineGuard.h"

#include "engine/case/CaseFile.h"
#include "engine/runs/RunControl.h"

#include <boost/archive/archive_exception.hpp>

#include <exception>
#include <new>

bool CEngineGuard::Run(const std::function<void()>& work, CString& reason)
{
    try
    {
        work();
        return true;
    }
    catch (const CRunControl::Stopped&)
    {
        throw; // no error: the run's owner ends it quietly
    }
    catch (const char* text)
    {
        reason = CString::FromUtf8(text ? text : "");
    }
    catch (const wchar_t* text)
    {
        reason = text ? text : L"";
    }
    catch (const CCaseFileError& e)
    {
        reason = CString::FromUtf8(e.what());
        if (!e.hint().empty()) reason += L"\n" + CString::FromUtf8(e.hint());
    }
    catch (const std::bad_alloc&)
    {
        reason = L"There is not enough memory for it.";
    }
    catch (const std::exception& e)
    {
        reason = CString::FromUtf8(e.what());
    }
    catch (...)
    {
        reason = L"An unknown error stopped it.";
    }
    if (reason.IsEmpty()) reason = L"An unknown error stopped it.";
    return false;
}
