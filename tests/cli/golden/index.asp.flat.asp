<%@codepage=936%>
<%Option Explicit%>
<%
' 字符串与 HTML 处理的通用函数
Const ELLIPSIS = "..."
Const NEWS_TITLE_WIDTH = 40
Function CutStr(s, maxWidth)
	Dim t, k, w, c
	' 按显示宽度截取，汉字算两个字符宽
	t = s & ""
	w = 0
	CutStr = t
	For k = 1 To Len(t)
		c = AscW(Mid(t, k, 1))
		If c < 0 Or c > 255 Then w = w + 2 Else w = w + 1
		If w > maxWidth Then
			CutStr = Left(t, k - 1) & ELLIPSIS
			Exit For
		End If
	Next
End Function

Function FormatDate(d)
	Dim dt
	If Not IsDate(d) Then
		FormatDate = ""
		Exit Function
	End If
	dt = CDate(d)
	FormatDate = Year(dt) & "-" & Right("0" & Month(dt), 2) & "-" & Right("0" & Day(dt), 2)
End Function

Function HtmlEnc(s)
	' Null 和空值都按空字符串处理
	If IsNull(s) Or IsEmpty(s) Then HtmlEnc = "" Else HtmlEnc = Server.HTMLEncode(s & "")
End Function

Function IIfStr(cond, a, b)
	If cond Then IIfStr = a Else IIfStr = b
End Function

Function SafeInt(v, defaultValue)
	Dim t
	t = Trim(v & "")
	SafeInt = defaultValue
	If t <> "" And IsNumeric(t) Then
		If Abs(CDbl(t)) < 32767 Then SafeInt = CInt(t)
	End If
End Function

Function TextToHtml(s)
	' 先转义，再把换行变成 <br />
	TextToHtml = Replace(Replace(HtmlEnc(s), vbCrLf, vbLf), vbLf, "<br />")
End Function

%>

<%
' 站点设置与数据库连接辅助函数
' 本文件由首页包含使用，不要单独访问
Dim g_Conn, g_DbError
Const SITE_NAME = "青松中学校园网"
Const SITE_ADMIN = "信息中心"
Const DB_PATH = "data/school.mdb"
Const DB_PROVIDER = "Microsoft.Jet.OLEDB.4.0"
Const PAGE_SIZE = 5
' 连接对象在第一次用到时才创建
g_DbError = ""
Set g_Conn = Nothing
Function CloseConn()
	If Not (g_Conn Is Nothing) Then
		If g_Conn.State = 1 Then g_Conn.Close
		Set g_Conn = Nothing
	End If
	CloseConn = True
End Function

Function ExecuteRows(sql)
	Dim conn, rs
	ExecuteRows = Empty
	Set conn = OpenConn()
	If conn Is Nothing Then Exit Function
	On Error Resume Next
	Set rs = conn.Execute(sql)
	If Err.Number = 0 Then
		If Not rs.EOF Then ExecuteRows = rs.GetRows()
		rs.Close
	Else
		g_DbError = "查询失败：" & Err.Description
		Err.Clear
	End If
	On Error GoTo 0
	Set rs = Nothing
End Function

Function ExecuteSql(sql)
	Dim conn
	ExecuteSql = False
	Set conn = OpenConn()
	If conn Is Nothing Then Exit Function
	On Error Resume Next
	' 129 = adCmdText + adExecuteNoRecords
	conn.Execute sql, , 129
	If Err.Number = 0 Then
		ExecuteSql = True
	Else
		g_DbError = "执行失败：" & Err.Description
		Err.Clear
	End If
	On Error GoTo 0
End Function

Function OpenConn()
	Dim strConn
	If g_Conn Is Nothing Then
		strConn = "Provider=" & DB_PROVIDER & ";Data Source=" & Server.MapPath(DB_PATH) & ";"
		On Error Resume Next
		Set g_Conn = Server.CreateObject("ADODB.Connection")
		g_Conn.Open strConn
		If Err.Number <> 0 Then
			' 连接失败时记下原因，页面改用演示数据
			g_DbError = "数据库连接失败：" & Err.Description
			Err.Clear
			Set g_Conn = Nothing
		End If
		On Error GoTo 0
	End If
	Set OpenConn = g_Conn
End Function

Function SqlStr(s)
	' 把值转成 SQL 字符串常量，单引号要写两遍
	SqlStr = "'" & Replace(s & "", "'", "''") & "'"
End Function

%>

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

<%
' 青松中学校园网首页：新闻列表和访客留言板
Dim arrNews(10)
Dim strAction, strMessage, strMsgKind
Dim nPage, nNewsCount
Const PAGE_TITLE = "首页"
Const NAME_MAX_LEN = 20
Const MSG_MIN_LEN = 5
Const MSG_MAX_LEN = 500
Response.Charset = "gbk"
strAction = LCase(Trim(Request.QueryString("act")))
nPage = SafeInt(Request.QueryString("page"), 1)
If nPage < 1 Then nPage = 1
strMessage = ""
strMsgKind = "info"
' 处理留言提交，只接受 POST 方式
If strAction = "post" And Request.ServerVariables("REQUEST_METHOD") = "POST" Then
	strMessage = SaveGuestbook(Request.Form("username"), Request.Form("content"))
	If strMessage = "" Then
		strMessage = "留言已提交，感谢您的参与！"
	Else
		strMsgKind = "error"
	End If
End If
nNewsCount = LoadNews()
Call PageHeader(PAGE_TITLE)
If strMessage <> "" Then Response.Write ShowMessage(strMessage, strMsgKind)
' 根据参数 act 显示不同的内容
Select Case strAction
	Case "guestbook", "post"
		Call ShowGuestbook(nPage)
	Case Else
		Call ShowNewsList(nNewsCount)
End Select
Call PageFooter()
Function LoadNews()
	Dim rows, n, k
	n = 0
	rows = ExecuteRows("SELECT TOP " & (UBound(arrNews) + 1) & " ID, Title, PostTime FROM News ORDER BY PostTime DESC")
	If IsArray(rows) Then
		For k = 0 To UBound(rows, 2)
			If n > UBound(arrNews) Then Exit For
			arrNews(n) = Array(rows(0, k), rows(1, k), rows(2, k))
			n = n + 1
		Next
	Else
		' 数据库不可用时使用演示数据
		arrNews(0) = Array(1, "高二年级“诗词大会”决赛将于本周五下午在礼堂举行", DateAdd("d", -1, Date()))
		arrNews(1) = Array(2, "关于调整冬季作息时间的通知", DateAdd("d", -3, Date()))
		arrNews(2) = Array(3, "我校学生在市中学生运动会上获得团体第二名", DateAdd("d", -10, Date()))
		n = 3
	End If
	LoadNews = n
End Function

Function SaveGuestbook(nameValue, contentValue)
	Dim userName, content, sql
	userName = Trim(nameValue & "")
	content = Trim(contentValue & "")
	SaveGuestbook = ""
	' 逐项检查，返回空字符串表示保存成功
	If userName = "" Then
		SaveGuestbook = "请填写您的称呼。"
	ElseIf Len(userName) > NAME_MAX_LEN Then
		SaveGuestbook = "称呼不能超过 " & NAME_MAX_LEN & " 个字。"
	ElseIf Len(content) < MSG_MIN_LEN Or Len(content) > MSG_MAX_LEN Then
		SaveGuestbook = "留言内容应在 " & MSG_MIN_LEN & " 到 " & MSG_MAX_LEN & " 个字之间。"
	Else
		sql = "INSERT INTO Guestbook (UserName, Content, PostTime, PostIP) VALUES (" & SqlStr(userName) & ", " & SqlStr(content) & ", " & SqlStr(Now()) & ", " & SqlStr(Request.ServerVariables("REMOTE_ADDR")) & ")"
		If Not ExecuteSql(sql) Then SaveGuestbook = "留言保存失败，请稍后再试。"
	End If
End Function

Function ShowGuestbook(page)
	Dim rows, total, pageCount, p, first, last, j
	Dim userName, content
	total = 0
	p = page
	rows = ExecuteRows("SELECT UserName, Content, PostTime FROM Guestbook ORDER BY PostTime DESC")
	Response.Write "<h2>访客留言</h2>" & vbCrLf
	If Not IsArray(rows) Then
		Response.Write "<p>还没有留言，快来写下第一条吧！</p>" & vbCrLf
	Else
		total = UBound(rows, 2) + 1
		pageCount = (total + PAGE_SIZE - 1) \ PAGE_SIZE
		If p > pageCount Then p = pageCount
		first = (p - 1) * PAGE_SIZE
		last = first + PAGE_SIZE - 1
		If last > total - 1 Then last = total - 1
		For j = first To last
			Response.Write "<div class=""msg""><p><b>" & HtmlEnc(rows(0, j)) & "</b> 发表于 " & FormatDate(rows(2, j)) & "</p>"
			Response.Write "<p>" & TextToHtml(rows(1, j)) & "</p></div>" & vbCrLf
		Next
		Response.Write "<p class=""pager"">第 " & p & " / " & pageCount & " 页 "
		If p > 1 Then Response.Write NavLink("index.asp?act=guestbook&amp;page=" & (p - 1), "上一页") & " "
		If p < pageCount Then Response.Write NavLink("index.asp?act=guestbook&amp;page=" & (p + 1), "下一页")
		Response.Write "</p>" & vbCrLf
	End If
	' 提交失败时保留已经填写的内容
	userName = ""
	content = ""
	If strMsgKind = "error" Then
		userName = Request.Form("username")
		content = Request.Form("content")
	End If
	Response.Write "<h3>我要留言</h3>" & vbCrLf
	Response.Write "<form method=""post"" action=""index.asp?act=post"">" & vbCrLf
	Response.Write "<p>称呼：<input type=""text"" name=""username"" maxlength=""" & NAME_MAX_LEN & """ value=""" & HtmlEnc(userName) & """ /></p>" & vbCrLf
	Response.Write "<p>内容：<br /><textarea name=""content"" rows=""6"" cols=""60"">" & HtmlEnc(content) & "</textarea></p>" & vbCrLf
	Response.Write "<p><input type=""submit"" value=""提交留言"" /> （" & MSG_MIN_LEN & " 到 " & MSG_MAX_LEN & " 个字）</p>" & vbCrLf
	Response.Write "</form>" & vbCrLf
	ShowGuestbook = total
End Function

Function ShowNewsList(count)
	Dim k, item, html
	Response.Write "<h2>校园新闻</h2>" & vbCrLf
	If count = 0 Then
		Response.Write "<p>暂无新闻。</p>" & vbCrLf
		Exit Function
	End If
	html = "<ul class=""news"">" & vbCrLf
	For k = 0 To count - 1
		item = arrNews(k)
		html = html & "<li><span class=""date"">[" & FormatDate(item(2)) & "]</span> "
		html = html & "<span title=""" & HtmlEnc(item(1)) & """>" & HtmlEnc(CutStr(item(1), NEWS_TITLE_WIDTH)) & "</span>"
		' 一周内发布的新闻加上“新”字标记
		html = html & IIfStr(DateDiff("d", item(2), Now()) <= 7, " <em class=""new"">新</em>", "") & "</li>" & vbCrLf
	Next
	Response.Write html & "</ul>" & vbCrLf
	ShowNewsList = count
End Function

%>
