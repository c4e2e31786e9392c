<%
' 页面公共头部、尾部和导航
Dim g_PageStart
Const COPYRIGHT_TEXT = "版权所有 &copy; 青松中学"
Const PAGE_STYLE = "body{font:14px/1.6 ""宋体"",sans-serif;margin:0 auto;width:760px}.nav a{margin-right:12px}.msg{border-bottom:1px dashed #ccc}.error{color:#c00}.info{color:#060}.new{color:#f60}"
' 记录开始时间，页脚显示耗时
g_PageStart = Timer()
Function NavLink(url, text)
	NavLink = "<a href=""" & url & """>" & HtmlEnc(text) & "</a>"
End Function

Function PageFooter()
	Dim elapsed
	elapsed = FormatNumber(Abs(Timer() - g_PageStart) * 1000, 0)
	Response.Write "<hr />" & vbCrLf
	Response.Write "<p class=""footer"">" & COPYRIGHT_TEXT & "　" & SITE_ADMIN & "维护<br />"
	Response.Write "页面生成于 " & FormatDateTime(Now(), vbGeneralDate) & "，用时 " & elapsed & " 毫秒</p>" & vbCrLf
	Response.Write "</body>" & vbCrLf & "</html>" & vbCrLf
	' 页面结束时关闭数据库连接
	Call CloseConn()
	PageFooter = True
End Function

Function PageHeader(title)
	Response.Write "<!DOCTYPE html>" & vbCrLf & "<html lang=""zh-CN"">" & vbCrLf & "<head>" & vbCrLf
	Response.Write "<meta http-equiv=""Content-Type"" content=""text/html; charset=gbk"" />" & vbCrLf
	Response.Write "<title>" & HtmlEnc(title) & " - " & SITE_NAME & "</title>" & vbCrLf
	Response.Write "<style type=""text/css"">" & PAGE_STYLE & "</style>" & vbCrLf
	Response.Write "</head>" & vbCrLf & "<body>" & vbCrLf & "<h1>" & SITE_NAME & "</h1>" & vbCrLf
	Response.Write "<div class=""nav"">" & NavLink("index.asp", "校园新闻") & NavLink("index.asp?act=guestbook", "留言板") & "</div>" & vbCrLf
	PageHeader = True
End Function

Function ShowMessage(msg, kind)
	' 只有 error 和 info 两种样式
	ShowMessage = "<p class=""" & IIfStr(LCase(kind) = "error", "error", "info") & """>" & HtmlEnc(msg) & "</p>" & vbCrLf
End Function

%>
